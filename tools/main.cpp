// motqr: the command-line tool of the Morvane TQR driver (motqr --help).
#include "tools/command.h"

int main(int argc, char** argv) { return motqr::cli::Run(argc, argv); }
