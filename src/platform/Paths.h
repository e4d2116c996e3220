#pragma once
// The executable's folder and the tests' seams for it live with the other places.
#include "platform/Places.h"
