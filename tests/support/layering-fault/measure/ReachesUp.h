#pragma once

// A measure header reaching up into the shell: the layering check must refuse it.
#include "app/TavoMeasureDlg.h"
