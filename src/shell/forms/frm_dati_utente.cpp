#include "shell/forms/frm_dati_utente.h"

#include "engine/databasefailure.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

using platform::Database;
using platform::DbError;

namespace {

const QString tableName = QStringLiteral("DATI");

const QStringList &fieldNames()
{
    static const QStringList names { QStringLiteral("RAG_SOC"), QStringLiteral("INDIRIZZO"),
        QStringLiteral("CAP"), QStringLiteral("CITTA"), QStringLiteral("MAIL"), QStringLiteral("TELEFONO") };
    return names;
}

QString databasePath()
{
    return platform::ProgramFolder::file(QStringLiteral("UTENTE.MDB"));
}

// How many characters each box shows whole: a firm's name and address, a postal code, a town, an
// e-mail address and a telephone number as people write them.
constexpr int BoxCharacters[] = { 50, 50, 7, 32, 40, 26 };

const QString NothingStored = QStringLiteral("Nessun dato utente è stato salvato: %1");

} // namespace

frm_dati_utente::frm_dati_utente(QWidget *parent)
    : QDialog(parent)
    , Text1(new QLineEdit(this))
    , Text2(new QLineEdit(this))
    , Text3(new QLineEdit(this))
    , Text4(new QLineEdit(this))
    , Text5(new QLineEdit(this))
    , Text6(new QLineEdit(this))
    , elimina(new QPushButton(QStringLiteral("ELIMINA DATI"), this))
    , Command1(new QPushButton(QStringLiteral("ESCI"), this))
{
    setObjectName(QStringLiteral("frm_dati_utente"));
    setWindowTitle(QStringLiteral("Dati Utente"));
    setModal(true);

    const QStringList names { QStringLiteral("Text1"), QStringLiteral("Text2"), QStringLiteral("Text3"),
        QStringLiteral("Text4"), QStringLiteral("Text5"), QStringLiteral("Text6") };
    const QStringList captions { QStringLiteral("Rag. Sociale:"), QStringLiteral("Indirizzo:"),
        QStringLiteral("Cap:"), QStringLiteral("Città:"), QStringLiteral("E-mail:"),
        QStringLiteral("Tel.:") };
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const QList<QLineEdit *> all = boxes();
    for (int i = 0; i < all.size(); ++i) {
        all[i]->setObjectName(names[i]);
        // Wide enough for the field's usual content. A line edit's own width hint is 17 "x" and its
        // frame: the frame is kept and the text part widened.
        const QFontMetrics metrics = all[i]->fontMetrics();
        const int frame = all[i]->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
        all[i]->setFixedWidth(frame + BoxCharacters[i] * metrics.averageCharWidth());
        form->addRow(captions[i], all[i]);
    }
    elimina->setObjectName(QStringLiteral("elimina"));
    Command1->setObjectName(QStringLiteral("Command1"));
    // Enter in a box must not close the window through a default button.
    elimina->setAutoDefault(false);
    Command1->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(elimina);
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(elimina, &QPushButton::clicked, this, &frm_dati_utente::elimina_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_dati_utente::Command1_Click);

    Form_Load();
}

QList<QLineEdit *> frm_dati_utente::boxes() const
{
    return { Text1, Text2, Text3, Text4, Text5, Text6 };
}

QStringList frm_dati_utente::texts() const
{
    QStringList values;
    for (const QLineEdit *box : boxes())
        values.append(box->text());
    return values;
}

void frm_dati_utente::showRecord(const QStringList &values)
{
    const QList<QLineEdit *> all = boxes();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(values.value(i));
    m_stored = texts();
}

void frm_dati_utente::reportFailure(const QString &what)
{
    platform::dialogs().msgBox(
        what, platform::MsgButtons::Ok, platform::MsgIcon::Critical, platform::programTitle());
}

void frm_dati_utente::Form_Load()
{
    m_rowid.reset();
    QStringList values;
    try {
        Database db = Database::open(databasePath());
        const platform::Recordset record = db.table(tableName);
        if (!record.isEmpty()) {
            m_rowid = record.rowidAt(0);
            for (const QString &field : fieldNames())
                values.append(record.value(0, record.fieldIndex(field)).toString());
        }
        m_usable = true;
    } catch (const DbError &error) {
        m_usable = false;
        m_unusableReason = error.code() == platform::DbErrorCode::DatabaseNotFound
            ? QStringLiteral("il file \"UTENTE.MDB\" manca nella cartella del programma.")
            : QStringLiteral("il file \"UTENTE.MDB\" della cartella del programma non può essere letto.\n")
                + engine::databaseFailureText(error);
        reportFailure(
            QStringLiteral("I dati utente non possono essere letti né salvati: ") + m_unusableReason);
    }
    showRecord(values);
    for (QLineEdit *box : boxes())
        box->setReadOnly(!m_usable);
    elimina->setEnabled(m_usable);
}

bool frm_dati_utente::storeRecord()
{
    const QStringList current = texts();
    if (!m_usable || current == m_stored)
        return true;
    QList<std::pair<QString, QVariant>> values;
    for (int i = 0; i < fieldNames().size(); ++i)
        values.append({ fieldNames()[i], current[i].isEmpty() ? QVariant() : QVariant(current[i]) });
    try {
        Database db = Database::open(databasePath());
        if (m_rowid)
            db.update(tableName, *m_rowid, values);
        else
            m_rowid = db.insert(tableName, values);
        m_stored = current;
        return true;
    } catch (const DbError &error) {
        reportFailure(NothingStored.arg(QStringLiteral("impossibile scrivere in \"UTENTE.MDB\".\n"))
            + engine::databaseFailureText(error));
        return false;
    }
}

void frm_dati_utente::done(int result)
{
    // Without its database nothing the window shows can be kept: said as it closes, so that nothing
    // goes silently.
    if (!m_usable)
        reportFailure(NothingStored.arg(m_unusableReason));
    else
        storeRecord();
    QDialog::done(result);
}

void frm_dati_utente::elimina_Click()
{
    if (platform::dialogs().msgBox(QStringLiteral("Sei sicuro di voler eliminare i dati utente?"),
            platform::MsgButtons::YesNo, platform::MsgIcon::Critical, QStringLiteral("Elimina i dati utente"),
            platform::MsgDefault::Second)
        != platform::MsgResult::Yes)
        return;
    // A record never stored has nothing to delete: the boxes simply start again empty.
    if (m_rowid) {
        try {
            Database db = Database::open(databasePath());
            db.remove(tableName, *m_rowid);
        } catch (const DbError &error) {
            reportFailure(QStringLiteral("Impossibile eliminare i dati utente.\n")
                + engine::databaseFailureText(error));
            return;
        }
    }
    m_rowid.reset();
    showRecord({});
}

void frm_dati_utente::Command1_Click()
{
    // Closing the window is what stores the record.
    reject();
}

} // namespace zav::shell
