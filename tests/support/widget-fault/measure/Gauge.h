#pragma once

#include "measure/GaugeFace.h"
#include "measure/Scale.h"
