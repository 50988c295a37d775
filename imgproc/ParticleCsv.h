#pragma once

#include "imgproc/ParticleCounter.h"

#include <QByteArray>
#include <QString>

/// @brief The count's CSV file: the header line, one line per object in the count's unit, then
/// comment lines ("# ...") with the summary, the threshold and the scale line of the results
/// file. UTF-8, numbers with a dot, 0x0A line ends.
class CParticleCsv
{
public:
    static constexpr const char* kHeader =
            "No.,X,Y,Area,Perimeter,EquivalentDiameter,Feret,MinFeret,Circularity";

    static QByteArray Format(const CParticleCounter::Result& result, const QString& scaleLine);
    /// @brief Writes the whole file or nothing; `error` receives the file layer's reason.
    static bool Write(const QString& path, const CParticleCounter::Result& result,
            const QString& scaleLine, QString* error = nullptr);

    /// @brief The summary, one line: "12 objects; area mean 3.1, sd 0.4, min 2.2, max 4 um^2;
    /// ...", or "No objects found" (fixed English, as in the file).
    static QString SummaryLine(const CParticleCounter::Result& result);
    /// @brief How the objects were found: level, method, objects, channel, filters.
    static QString SettingsLine(const CParticleCounter::Result& result);
    /// @brief A number as the file writes it: up to 8 significant digits, dot, no exponent
    /// for everyday sizes.
    static QString Number(double value);
};
