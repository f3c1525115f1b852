#!/usr/bin/env bash
# Builds the program, creates the demo databases when missing and starts the
# program on them as the administrator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/compilar.sh --target recodificador
export ZV_DATOS="${ZV_DATOS:-$PWD/datos}"
if [ ! -f "$ZV_DATOS/DEMO.sqlite" ]; then
  build/recodificador --crear-demo "$ZV_DATOS"
fi
exec build/recodificador "@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=admin;"
