#pragma once

#include <QString>

#include <optional>

namespace zav::shell {

/**
 * @brief The editor file "editor.cfg" of the program folder: the full path of the word processor
 * that documents open in, as one quoted record ("path" and a line end, UTF-8).
 */
class EditorFile
{
public:
    /** @brief Path of the editor file in the program folder. */
    static QString path();

    /**
     * @brief Creates or overwrites the editor file with this program path. False when it cannot
     * be written, or when the path holds a double quote, which a quoted record cannot carry.
     */
    static bool write(const QString &programPath);
    /** @brief The program path recorded; no value when the file is missing or holds no record. */
    static std::optional<QString> read();

    /**
     * @brief The `editor` command: asks for the word processor's program in the open-file box
     * and records it. The box remembers its last choice in @p chosen for as long as the program
     * runs, so a cancelled box records the earlier choice again; with nothing ever chosen
     * nothing is written.
     */
    static void choose(QString &chosen);
};

} // namespace zav::shell
