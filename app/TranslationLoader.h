#pragma once

#include <QString>

class QCoreApplication;

// The user-interface language: every module's compiled catalogue under :/i18n plus Qt's own
// texts from the system's Qt translations when present.
class CTranslationLoader
{
public:
    // language: "en", "zh_CN", ...; empty follows the system locale.
    static void Install(QCoreApplication& app, const QString& language);
};
