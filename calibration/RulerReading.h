#pragma once

#include <QString>

// The period of a stage micrometer's divisions as read from a picture.
struct CRulerReading
{
    bool found = false;
    QString reason; // why nothing was found, in the user's words
    double period = 0.0; // pixels per division
    double periodError = 0.0; // one standard error, pixels
    int divisions = 0; // whole divisions the reading rests on
    double angle = 0.0; // of the scale's axis, degrees
};
