// motqr panel in a build made without cpp-httplib.
#include "tools/panel/panel_command.h"

namespace motqr::cli {

Status RunPanel(Context&) {
  return Status::Failed(
      "this motqr was built without the panel: install libcpp-httplib-dev (scripts/setup.sh) "
      "and build again");
}

}  // namespace motqr::cli
