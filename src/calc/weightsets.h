#pragma once

// The weight sets, the group-count coefficients and the service items are data of the
// methodology (methodology.h); this header stays for the calculation's includes.
#include "methodology.h"
