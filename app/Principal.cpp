#include "app/Principal.h"

#include <cstdio>

namespace zv::app {

int principal(int, char **) {
  std::fputs("recodificador: sin implementar\n", stderr);
  return 2;
}

} // namespace zv::app
