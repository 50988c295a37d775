#pragma once

#include <QImage>
#include <QString>
