#include "framework/host_services.h"
