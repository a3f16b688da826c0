#include "shell/commands/launcher.h"

#include "platform/dialogs.h"
#include "platform/system.h"
#include "platform/vb.h"

#include <QLocale>

#include <stdexcept>

namespace zav::shell {

using platform::DocumentLookup;

namespace {

QString lookupMessage(DocumentLookup lookup, const QString &fileName)
{
    switch (lookup) {
    case DocumentLookup::OutOfResources:
        return QStringLiteral("Errore: out of memory or resource in FindExecutable!");
    case DocumentLookup::FileNotFound:
        return QStringLiteral("Errore: Il File ") + fileName
            + QStringLiteral(" non e' stato trovato dalla FindExecutable.");
    case DocumentLookup::PathNotFound:
        return QStringLiteral("Errore: Il path specificato nel parametro ") + fileName
            + QStringLiteral(" della FindExecutable non esiste.");
    case DocumentLookup::NotExecutable:
        return QStringLiteral("Errore: Il programma collegato al file ") + fileName
            + QStringLiteral(" non e' un eseguibile valido.");
    case DocumentLookup::NoAssociation:
        // The online help is the one document whose reader the program's own disc installs.
        if (fileName.right(14).toUpper() == QStringLiteral("HELPONLINE.PDF"))
            return QStringLiteral("Errore: Mancata installazione di Acrobat Reader, installare dal Cd Brem.");
        return QStringLiteral("Errore: Nessun eseguibile associato al file ") + fileName;
    case DocumentLookup::Found:
    case DocumentLookup::Failed:
        break;
    }
    return QStringLiteral("Errore non definito nella FindExecutable");
}

} // namespace

bool LanciaEseguibileAssociato(const QString &fileName)
{
    return openAssociated(fileName, {});
}

bool openAssociated(const QString &fileName, const NoProgramText &noProgram)
{
    const auto tell = [](const QString &text) {
        platform::dialogs().msgBox(
            text, platform::MsgButtons::Ok, platform::MsgIcon::Critical, platform::programTitle());
    };
    const auto noProgramText = [noProgram](const QString &file) {
        return noProgram ? noProgram(file) : lookupMessage(DocumentLookup::NoAssociation, file);
    };
    DocumentLookup lookup = platform::system().lookUpDocument(fileName);
    // A document the desktop has no way to open has, in effect, no program associated with it;
    // so has one whose opener gives up once started.
    if (lookup == DocumentLookup::Found
        && !platform::system().openDocument(fileName, [=] { tell(noProgramText(fileName)); }))
        lookup = DocumentLookup::NoAssociation;
    if (lookup == DocumentLookup::Found)
        return true;
    tell(lookup == DocumentLookup::NoAssociation ? noProgramText(fileName) : lookupMessage(lookup, fileName));
    return false;
}

QString LocaleInfoGet(qint32 type)
{
    const QLocale locale = QLocale::system();
    switch (type) {
    case 0x02:
        return QLocale::languageToString(locale.language());
    case 0x06:
        return QLocale::territoryToString(locale.territory());
    case 0x0C:
        return platform::vb::decimalSeparator() == u',' ? QStringLiteral(";") : QStringLiteral(",");
    case 0x0E:
        return QString(platform::vb::decimalSeparator());
    case 0x0F:
        return QString(platform::vb::groupSeparator());
    case 0x14:
        return locale.currencySymbol();
    case 0x1F:
        return locale.dateFormat(QLocale::ShortFormat);
    case 0x20:
        return locale.dateFormat(QLocale::LongFormat);
    default:
        throw std::invalid_argument("informazione locale non disponibile");
    }
}

} // namespace zav::shell
