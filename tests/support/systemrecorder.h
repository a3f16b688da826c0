#pragma once

#include "platform/system.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zav::platform {

/**
 * @brief A System for tests: records every program started and document opened, and answers
 * from what the test declared installed or associated. Installs itself for its lifetime.
 *
 * Nothing is installed at first; documents are looked up as Found and open, web addresses open and
 * programs start successfully unless the test says otherwise.
 */
class SystemRecorder : public System
{
public:
    /** @brief One program started or document opened. */
    struct Started
    {
        QString program; ///< the program's path (empty for a document)
        QStringList arguments;
        QString document; ///< the document opened (empty for a program)

        bool operator==(const Started &other) const = default;
    };

    SystemRecorder();
    ~SystemRecorder() override;
    SystemRecorder(const SystemRecorder &) = delete;
    SystemRecorder &operator=(const SystemRecorder &) = delete;

    /** @brief Declares a program installed: a name found as "/usr/bin/<name>", or a full path. */
    void install(const QString &program) { m_installed.insert(program); }
    void setLookup(const QString &document, DocumentLookup result) { m_lookups.insert(document, result); }
    void setStartSucceeds(bool succeeds) { m_startSucceeds = succeeds; }
    void setOpenSucceeds(bool succeeds) { m_openSucceeds = succeeds; }
    /** @brief Documents then open, but their opener reports a failure afterwards, on the event
     * loop (as xdg-open does when it finds no program). */
    void setOpenFailsLater(bool fails) { m_openFailsLater = fails; }

    /** @brief Programs started and documents opened, in order. */
    const QList<Started> &started() const { return m_started; }
    /** @brief Documents looked up, in order. */
    const QStringList &lookedUp() const { return m_lookedUp; }
    /** @brief Web addresses opened in the desktop's browser, in order. */
    const QStringList &addressesOpened() const { return m_addresses; }
    void clear();

    QString findProgram(const QString &program) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    DocumentLookup lookUpDocument(const QString &document) override;
    using System::openDocument;
    bool openDocument(const QString &document, OpenFailed failed) override;
    bool openAddress(const QString &address) override;

private:
    QSet<QString> m_installed;
    QHash<QString, DocumentLookup> m_lookups;
    bool m_startSucceeds = true;
    bool m_openSucceeds = true;
    bool m_openFailsLater = false;
    QList<Started> m_started;
    QStringList m_lookedUp;
    QStringList m_addresses;
};

} // namespace zav::platform
