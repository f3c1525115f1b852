#include "app/Principal.h"

int main(int argc, char **argv) { return zv::app::principal(argc, argv); }
