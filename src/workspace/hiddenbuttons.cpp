// The workspace's hidden buttons: each one runs the command that the thousandths band's tool or
// the workspace's key runs for the same action, so no action exists twice.
#include "workspace/frm_ins_coeff.h"

#include "platform/cadautomation.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/commandregistry.h"

#include <QLineEdit>

#include <memory>

namespace zav::workspace {

namespace {

/** The workspace's own CAD link: it lives as long as the program, across closing the workspace. */
struct LocalCadLink
{
    std::unique_ptr<platform::CadAutomation> object;
    bool on = false;
};

LocalCadLink &localCad()
{
    static LocalCadLink link;
    return link;
}

} // namespace

QString frm_ins_coeff::commandKeyOf(int Index)
{
    switch (Index) {
    case 0:
        return QStringLiteral("tCopia");
    case 1:
        return QStringLiteral("tRicalcola");
    case 2:
        return QStringLiteral("tEliminariga");
    case 5:
        return QStringLiteral("tTrova");
    case 6:
        return QStringLiteral("tArrotonda");
    case 7:
        return QStringLiteral("tAzzera");
    case 8:
        return QStringLiteral("tSelTab");
    case 9:
        return QString::fromLatin1(CopyThousandthsKey);
    case 10:
        return QStringLiteral("tCalcTab");
    default:
        return QString();
    }
}

void frm_ins_coeff::localCadLink()
{
    LocalCadLink &link = localCad();
    // Every use makes a new object, which takes the place of the one held before.
    try {
        link.object = platform::createCadAutomation(QString::fromLatin1(LocalCadClass));
    } catch (const platform::AutomationError &error) {
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile collegarsi al CAD: ") + QString::fromUtf8(error.what()),
            platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, platform::programTitle());
        return;
    }
    if (link.on) {
        link.on = false;
        link.object.reset();
        return;
    }
    link.on = true;
    platform::CadAutomation *cad = link.object.get();
    platform::tryStep([cad] { cad->init_Cadform(true, 0); });
    platform::tryStep([cad] { cad->mostra(); });
    platform::tryStep([this, cad] { cad->SET_HANDLE(qint32(txtole->winId())); });
}

void frm_ins_coeff::Command1_Click(int Index)
{
    if (Index == 4) {
        Form_KeyDown(Qt::Key_Escape);
        return;
    }
    if (Index == 3) {
        localCadLink();
        return;
    }
    const QString key = commandKeyOf(Index);
    if (key.isEmpty())
        return;
    if (const platform::CommandRegistry::Handler command = platform::CommandRegistry::handler(key))
        command();
}

void frm_ins_coeff::Command2_Click()
{
    Form_KeyDown(Qt::Key_F4);
}

platform::CadAutomation *frm_ins_coeff::oggetto_cad_locale()
{
    return localCad().object.get();
}

bool frm_ins_coeff::cad_locale_attivo()
{
    return localCad().on;
}

} // namespace zav::workspace
