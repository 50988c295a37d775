// Logic that names a widget header by its module path: refused.
#include <QtWidgets/QLabel>
