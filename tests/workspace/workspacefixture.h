#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/commandbar.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/workspacecommands.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <gtest/gtest.h>

namespace zav::test {

using Fields = QList<std::pair<QString, QVariant>>;

/** @brief A number held as text, written by hand with a point, in the form of the separator in force. */
inline QString num(const char *number)
{
    return QString::fromLatin1(number).replace(u'.', platform::vb::decimalSeparator());
}

/** @brief A list of texts written as UTF-8 literals. */
inline QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

/** @brief A project archive copied from the template, open as the current project. */
class Project
{
public:
    Project()
        : m_path(m_folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB")))
    {
        engine::VAR_GBL.reset();
        engine::VAR_GBL.progetto_corrente = m_path;
        engine::VAR_GBL.init_operatori();
        engine::VAR_GBL.init_precedenze();
    }
    ~Project() { engine::VAR_GBL.reset(); }

    QString path() const { return m_path; }
    const TempProgramFolder &folder() const { return m_folder; }

    void header(bool riscVol, bool riscRad, bool risc50, int buildings = 2)
    {
        platform::Database::open(m_path).insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio di prova") },
                { QStringLiteral("NUM_PAL"), buildings }, { QStringLiteral("RISC_VOL"), riscVol },
                { QStringLiteral("RISC_RAD"), riscRad }, { QStringLiteral("RISC_50"), risc50 } });
    }

    qint64 unit(const QString &owner, int building, const QString &stair, const QVariant &floorCode,
        const QVariant &interno, const QVariant &hpiano)
    {
        return platform::Database::open(m_path).insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), building }, { QStringLiteral("SCALA"), stair },
                { QStringLiteral("SIGLA"), floorCode }, { QStringLiteral("PROPRIETARIO"), owner },
                { QStringLiteral("HPIANO"), hpiano }, { QStringLiteral("INTERNO"), interno } });
    }

    qint64 room(const QString &owner, int building, const QString &stair, const QVariant &interno,
        const Fields &fields)
    {
        Fields all = { { QStringLiteral("NOME_CONDOMINO"), owner },
            { QStringLiteral("PALAZ"), QString::number(building) }, { QStringLiteral("SCALA"), stair },
            { QStringLiteral("INTERNO"), interno } };
        all += fields;
        return platform::Database::open(m_path).insert(QStringLiteral("ESPRESSIONI"), all);
    }

    QVariant value(const QString &table, qint64 rowid, const QString &field) const
    {
        const platform::Recordset rs = platform::Database::open(m_path).query(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(field, table), { rowid });
        return rs.isEmpty() ? QVariant() : rs.value(0, 0);
    }

    /** @brief TOT_SUP, TOT_VOL, TOT_VOL_RISC and TOT_RAD_RISC of a unit row. */
    QVariantList totals(qint64 unit) const
    {
        const platform::Recordset rs = platform::Database::open(m_path).query(
            QStringLiteral(
                "SELECT TOT_SUP, TOT_VOL, TOT_VOL_RISC, TOT_RAD_RISC FROM CODIF_PIANI WHERE rowid = ?"),
            { unit });
        return { rs.value(0, 0), rs.value(0, 1), rs.value(0, 2), rs.value(0, 3) };
    }

private:
    TempProgramFolder m_folder;
    QString m_path;
};

/**
 * @brief A stand-in for the main window: an MDI area and a command bar `Bar_main1` whose band 11 is
 * the thousandths band `tBand`, with the CAD menu title `tCad2` on the menu bar.
 */
class MainWindowStandIn : public QMainWindow
{
public:
    MainWindowStandIn()
    {
        setCentralWidget(new QMdiArea(this));
        bar = new platform::CommandBar(this);
        bar->setObjectName(QStringLiteral("Bar_main1"));
        bar->addBand(QStringLiteral("MnuBand1"), platform::CommandBar::BandKind::MenuBar);
        bar->addTool(QStringLiteral("MnuBand1"), QStringLiteral("tCad2"), QStringLiteral("CAD"));
        for (int i = 1; i <= 10; ++i)
            bar->addBand(QStringLiteral("band%1").arg(i), platform::CommandBar::BandKind::Menu);
        bar->addBand(QStringLiteral("tBand"), platform::CommandBar::BandKind::ToolBar,
            QStringLiteral("Opzioni Millesimi"));
        for (const char *key : { "tTrova", "tRicalcola", "tArrotonda", "tCopia", "tCad", "tCalcolaMil",
                 "tEliminariga", "tSelTab", "tCalcTab", "tCopiaMil", "tAzzera", "tEsciVis" })
            bar->addTool(QStringLiteral("tBand"), QString::fromLatin1(key), QString::fromLatin1(key));
        bar->setBandVisible(11, false);
        bar->setToolEnabled(QStringLiteral("tCad2"), false);
    }

    QMdiArea *area() const { return static_cast<QMdiArea *>(centralWidget()); }

    platform::CommandBar *bar = nullptr;
};

/** @brief A project, scripted boxes, the main window stand-in and the workspace registered. */
class WorkspaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        workspace::registerForms();
        platform::FormRegistry::setFactory(QStringLiteral("frm_init"), [] { return new MainWindowStandIn; });
        main = static_cast<MainWindowStandIn *>(platform::FormRegistry::form(QStringLiteral("frm_init")));
        main->resize(1000, 760);
        main->show();
    }

    void TearDown() override
    {
        platform::FormRegistry::unload(QString::fromLatin1(workspace::frm_ins_coeff::FormName));
        processDeletes();
        platform::FormRegistry::unload(QStringLiteral("frm_init"));
        processDeletes();
    }

    static void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    workspace::frm_ins_coeff *loadedWorkspace() const
    {
        return platform::FormRegistry::loaded<workspace::frm_ins_coeff>(
            QString::fromLatin1(workspace::frm_ins_coeff::FormName));
    }

    platform::ScriptedDialogs boxes;
    Project project;
    MainWindowStandIn *main = nullptr;
};

} // namespace zav::test
