#pragma once

namespace zv::app {
// The program's entry: options first, then the main window.
int principal(int argc, char **argv);
}
