#include "support/Soporte.h"
