# The Python half of the motqr module: the exception and warning classes and
# open(). The enumerations follow this text (generated from enums.def).
import enum


class Error(Exception):
    """A failed driver call: .code is the status (signed 32-bit), .description its text."""

    def __init__(self, code, description):
        super().__init__(code, description)
        self.code = code
        self.description = description

    def __str__(self):
        return "%s (0x%08X, %d)" % (self.description, self.code & 0xFFFFFFFF, self.code)


class DriverWarning(UserWarning):
    """A driver call that succeeded with a warning status (.code > 0)."""

    def __init__(self, code, description):
        super().__init__("%s (0x%08X)" % (description, code & 0xFFFFFFFF))
        self.code = code
        self.description = description


def open(resource, id_query=True, reset=False, options=""):
    """A new MorvaneTqr driver, initialized; use it in a with statement to close it."""
    driver = MorvaneTqr()
    driver.initialize(resource, id_query, reset, options)
    return driver
