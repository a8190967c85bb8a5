#include "toolkit/keys.h"
