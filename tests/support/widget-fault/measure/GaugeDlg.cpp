// A window of the widgets module: may include what it likes.
#include "measure/GaugeFace.h"

#include <QDialog>
