#pragma once

#include <QString>

namespace zav::platform {

/**
 * @brief The program folder: where the executable lies and everything that ships with it
 * (templates, "ARCHIVI", "STAMPE", configuration files). Tests point it at a copy.
 */
class ProgramFolder
{
public:
    /** @brief The folder in force (the executable's folder unless set). */
    static QString path();
    /** @brief Points the program at another folder (tests); empty text restores the default. */
    static void setPath(const QString &folder);
    /**
     * @brief The path of a file or folder of the program folder, found without regard to case;
     * when nothing matches, the path under the name as given.
     */
    static QString file(const QString &name);
};

/**
 * @brief Finds an entry of a folder without regard to case: the exact name when it exists, else the
 * first entry whose name matches ignoring case, else the path built from the name as given.
 */
QString findCaseInsensitive(const QString &folder, const QString &name);

} // namespace zav::platform
