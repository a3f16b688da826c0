#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace zav::printing {

/**
 * @brief The documents the print form opens in outside programs: the project's calculation report
 * and the reference documents of the program folder in the word processor of the editor file, the
 * circular with the program the desktop associates with it.
 *
 * Reading the editor file and opening a document by its association belong to the main window;
 * the program installs them here at start-up (see Services).
 */
class Documents
{
public:
    /** @brief What the main window lends to the print form. */
    struct Services
    {
        /** The word processor recorded in the editor file: no value when the file is missing, an
         * empty text when it holds no record. */
        std::function<std::optional<QString>()> editorProgram;
        /** Opens a document with its associated program, telling the user when none can. */
        std::function<bool(const QString &document)> openAssociated;
    };
    /** @brief Installs the services; empty ones count as a missing editor file and as a desktop
     * that opens nothing. */
    static void setServices(Services services);

    /** @brief How opening a document in the word processor went. */
    enum class Outcome {
        Started, ///< the word processor was started on the document
        NoEditor, ///< the editor file is missing, or the program it names is not there
        Failed, ///< anything else (an empty editor file, a program that would not start)
    };

    /**
     * @brief The calculation report of a project archive: the archive's folder, the archive's
     * whole name less its extension, ".RTF", found without regard to case. Empty for no archive.
     */
    static QString calculationReport(const QString &archive);
    /** @brief A reference document of the program folder ("dcc.rtf" ...), found without regard
     * to case. */
    static QString referenceDocument(const QString &name);
    /** @brief The circular of the program folder, "CIRCxMILLESIMI.pdf". */
    static QString circular();

    /**
     * @brief Starts the word processor of the editor file on a document, the document's path as
     * its one argument; nothing waits for it. Whether the document exists is the word
     * processor's business.
     */
    static Outcome openInEditor(const QString &document);
    /** @brief Opens a document with its associated program; false when none could. */
    static bool openAssociated(const QString &document);

    /** @brief The missing-editor message of the calculation report, for a project name. */
    static QString missingEditorForReport(const QString &projectName);
    /** @brief The missing-editor message of the reference documents, for a project name. */
    static QString missingEditorForDocument(const QString &projectName);
};

} // namespace zav::printing
