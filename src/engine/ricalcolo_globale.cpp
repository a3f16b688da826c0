// The global recalculation: every room of every unit recomputed from its expressions, coefficients
// and height, and every unit's totals stored, in one transaction over one connection.

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/vb.h"

#include <cmath>
#include <exception>
#include <stdexcept>

namespace zav::engine {

namespace {

namespace vb = platform::vb;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

const QString kTitoloAttenzione = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString kTitoloInformazioni = QStringLiteral("!!! Zav - Informazioni - !!!");
const QString kScritturaFallita
    = QStringLiteral("Impossibile scrivere nell'archivio del progetto. Ricalcolo Globale non completato.");
const QString kFormatoSuperficie = QStringLiteral("###0.0##");
const QString kFormatoPesata = QStringLiteral("##0.0###");

// Field positions of CODIF_PIANI.
namespace unita {
constexpr int NUM_PAL = 1;
constexpr int SCALA = 2;
constexpr int PROPRIETARIO = 7;
constexpr int HPIANO = 9;
constexpr int INTERNO = 15;
} // namespace unita

// The fields of ESPRESSIONI that the recalculation reads, in the order it selects them.
namespace stanza {
enum Campo {
    ESPRESSIONE,
    MQ,
    COEF1,
    COEF8 = COEF1 + 7,
    TOT_COEF,
    H_PIANO,
    TOT_VOL,
    OPT_RISC,
    ESPRES_RAD,
    TOT_ESPRES_RAD,
    SUP_FINESTRA,
    MQ_FINESTRA,
    NUMERO_CAMPI
};
const QStringList nomi = { QStringLiteral("ESPRESSIONE"), QStringLiteral("MQ"), QStringLiteral("COEF1"),
    QStringLiteral("COEF2"), QStringLiteral("COEF3"), QStringLiteral("COEF4"), QStringLiteral("COEF5"),
    QStringLiteral("COEF6"), QStringLiteral("COEF7"), QStringLiteral("COEF8"), QStringLiteral("TOT_COEF"),
    QStringLiteral("H_PIANO"), QStringLiteral("TOT_VOL"), QStringLiteral("OPT_RISC"),
    QStringLiteral("ESPRES_RAD"), QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("SUP_FINESTRA"),
    QStringLiteral("MQ_FINESTRA") };
} // namespace stanza

// Field positions of ANA_CONDO.
namespace anagrafica {
constexpr int RISC_VOL = 10;
constexpr int RISC_RAD = 11;
constexpr int RISC_50 = 16;
} // namespace anagrafica

const QString kIndiceStanze = QStringLiteral("ZAV_RICALCOLO_STANZE");

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// A value as it reads when joined into a message or a query: Null joins as nothing, numbers in the
// system's form.
QString asText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return vb::CStr(value.toDouble());
    default:
        return value.toString();
    }
}

// Trim as the runtime does it: blanks only, not tabs or line ends.
QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// A yes/no field compared with true; an empty or missing one counts as false.
bool isTrue(const platform::Recordset &rs, int position)
{
    if (position >= rs.fieldCount() || rs.isEmpty())
        return false;
    const QVariant value = rs.value(0, position);
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const std::optional<double> number = vb::CDbl(value);
    return number && *number != 0.0;
}

/** The recalculation of one run: its connection, its statements and what it has met so far. */
class Ricalcolo
{
public:
    explicit Ricalcolo(VarGbl &stato)
        : m_stato(stato)
    {
    }

    void esegui();

private:
    enum class Esito { Continua, Fermato };

    bool apri();
    void preparaStanze();
    void chiudi();
    Esito calcolaUnita(int riga);
    void calcolaStanza(QVector<QVariant> &campi, qint64 rowid, bool &fermato);
    void valutaInCampo(QVector<QVariant> &campi, int campoEspressione, int campoValore);
    QVariant formattato(double valore, const QString &formato);
    void avanzaProgresso();
    void ferma(const QString &messaggio);

    VarGbl &m_stato;
    platform::Progress &m_progress = platform::progress();
    std::optional<platform::Database> m_db;
    std::optional<platform::Transaction> m_transazione;
    std::optional<platform::Statement> m_stanze;
    std::optional<platform::Statement> m_salvaStanza;
    std::optional<platform::Statement> m_salvaUnita;
    platform::Recordset m_unita;
    platform::Recordset m_anagrafica;
    bool m_riscVol = false;
    bool m_riscRad = false;
    bool m_risc50 = false;
    bool m_indiceCreato = false;
    bool m_scritturaFallita = false;
    bool m_nonFinitoSegnalato = false;

    // Working sums of the unit being recalculated.
    double m_sommaPesata = 0.0;
    double m_sommaVolume = 0.0;
    double m_sommaVolumeRiscaldato = 0.0;
    float m_sommaRadiante = 0.0f;
};

bool Ricalcolo::apri()
{
    try {
        if (!m_stato.progetto_corrente)
            return false;
        m_db.emplace(platform::Database::open(*m_stato.progetto_corrente));
        m_unita = m_db->table(QStringLiteral("CODIF_PIANI"));
        m_anagrafica = m_db->table(QStringLiteral("ANA_CONDO"));
        m_riscVol = isTrue(m_anagrafica, anagrafica::RISC_VOL);
        m_riscRad = isTrue(m_anagrafica, anagrafica::RISC_RAD);
        m_risc50 = isTrue(m_anagrafica, anagrafica::RISC_50);
        m_transazione.emplace(m_db->transaction());
    } catch (const std::exception &) {
        m_transazione.reset();
        m_db.reset();
        return false;
    }
    preparaStanze();
    return true;
}

// A statement that cannot be prepared stays absent: each use of it then fails as a step would.
void prepara(std::optional<platform::Statement> &statement, platform::Database &db, const QString &sql)
{
    try {
        statement.emplace(db.prepare(sql));
    } catch (const std::exception &) {
        statement.reset();
    }
}

// The rooms of a unit are those of the program's rooms query, looked up once per unit through one
// statement prepared from its shape. An index over the unit key, built inside the run's transaction
// and dropped before it commits, keeps each look-up from reading every room of the project; the
// archive is left as it was.
void Ricalcolo::preparaStanze()
{
    const platform::TableQuery forma = archive::roomsQuery(QString(), QVariant(), QString(), QVariant());
    QStringList campi;
    QStringList condizioni;
    for (const platform::Condition &condizione : forma.where) {
        campi << platform::Database::quoteName(condizione.field);
        condizioni << campi.last() + QStringLiteral(" IS ?");
    }
    try {
        const platform::Recordset esistente
            = m_db->query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name = ?"),
                { kIndiceStanze });
        if (esistente.isEmpty()) {
            m_db->exec(QStringLiteral("CREATE INDEX ") + kIndiceStanze + QStringLiteral(" ON ")
                + platform::Database::quoteName(forma.table) + QStringLiteral(" (") + campi.join(u',')
                + QStringLiteral(")"));
            m_indiceCreato = true;
        }
    } catch (const std::exception &) {
        // Without the index the look-ups are slower, not different.
    }
    // In stored order, the rowid first.
    prepara(m_stanze, *m_db,
        QStringLiteral("SELECT rowid, ") + stanza::nomi.join(u',') + QStringLiteral(" FROM ")
            + platform::Database::quoteName(forma.table) + QStringLiteral(" WHERE ")
            + condizioni.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY rowid"));
    prepara(m_salvaStanza, *m_db,
        QStringLiteral(
            "UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, TOT_ESPRES_RAD = ?, "
            "MQ_FINESTRA = ? WHERE rowid = ?"));
    prepara(m_salvaUnita, *m_db,
        QStringLiteral("UPDATE CODIF_PIANI SET TOT_SUP = ?, TOT_VOL = ?, TOT_VOL_RISC = ?, TOT_RAD_RISC = ? "
                       "WHERE rowid = ?"));
}

// Closing the connection commits what was stored; a commit that fails loses the run's writes.
void Ricalcolo::chiudi()
{
    m_stanze.reset();
    m_salvaStanza.reset();
    m_salvaUnita.reset();
    if (m_db && m_transazione) {
        try {
            if (m_indiceCreato)
                m_db->exec(QStringLiteral("DROP INDEX ") + kIndiceStanze);
            m_transazione->commit();
        } catch (const std::exception &) {
            m_scritturaFallita = true;
        }
    }
    m_transazione.reset();
    m_db.reset();
}

void Ricalcolo::ferma(const QString &messaggio)
{
    platform::dialogs().msgBox(messaggio, MsgButtons::Ok, MsgIcon::Information, kTitoloAttenzione);
    chiudi();
    if (m_scritturaFallita)
        platform::dialogs().msgBox(kScritturaFallita, MsgButtons::Ok, MsgIcon::Critical, kTitoloAttenzione);
    m_progress.close();
    m_progress.setBusy(false);
}

void Ricalcolo::esegui()
{
    m_stato.init_operatori();
    m_stato.init_precedenze();

    if (platform::dialogs().msgBox(
            QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?"),
            MsgButtons::YesNo, MsgIcon::Information, kTitoloAttenzione)
        != MsgResult::Yes)
        return;

    m_progress.setBusy(true);
    if (!apri()) {
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile aprire l'archivio del progetto. Ricalcolo non effettuato."),
            MsgButtons::Ok, MsgIcon::Critical, kTitoloAttenzione);
        m_progress.setBusy(false);
        return;
    }

    const int numeroUnita = m_unita.recordCount();
    m_progress.setMaximum(numeroUnita);
    m_progress.setTotal(QStringLiteral("su ") + QString::number(numeroUnita));
    m_progress.show();
    m_progress.setCountersVisible(true);
    m_progress.setDone(QStringLiteral("0"));
    m_progress.refresh();
    m_progress.setValue(1);
    m_progress.setTask(QStringLiteral("Ricalcolo Globale Sup. Coeff e Vol."));

    for (int riga = 0; riga < numeroUnita; ++riga) {
        if (calcolaUnita(riga) == Esito::Fermato)
            return;
        avanzaProgresso();
    }

    chiudi();
    if (m_scritturaFallita)
        platform::dialogs().msgBox(kScritturaFallita, MsgButtons::Ok, MsgIcon::Critical, kTitoloAttenzione);
    else
        platform::dialogs().msgBox(QStringLiteral("Ricalcolo Globale Terminato"), MsgButtons::Ok,
            MsgIcon::Information, kTitoloInformazioni);
    m_progress.setCountersVisible(false);
    m_progress.close();
    m_progress.setBusy(false);
    if (m_scritturaFallita)
        return;

    if (platform::dialogs().msgBox(QStringLiteral("Si vuole effettuare il Calcolo Millesimi ?"),
            MsgButtons::YesNo, MsgIcon::Information, kTitoloInformazioni)
        == MsgResult::Yes) {
        m_progress.setBusy(true);
        m_stato.calcolo_millesimi();
        m_progress.setBusy(false);
    }
}

void Ricalcolo::avanzaProgresso()
{
    // The bar wraps to 1 when it reaches its maximum, then moves on by one.
    if (m_progress.value() == m_progress.maximum())
        m_progress.setValue(1);
    m_progress.setValue(m_progress.value() + 1);
    m_progress.setDone(QString::number(m_progress.done().toInt() + 1));
}

Ricalcolo::Esito Ricalcolo::calcolaUnita(int riga)
{
    const auto campoUnita = [this, riga](int posizione) {
        return posizione < m_unita.fieldCount() ? m_unita.value(riga, posizione) : QVariant();
    };
    const QVariant proprietario = campoUnita(unita::PROPRIETARIO);
    const QVariant palazzina = campoUnita(unita::NUM_PAL);
    const QVariant scala = campoUnita(unita::SCALA);
    const QVariant interno = campoUnita(unita::INTERNO);

    if (isEmptyValue(campoUnita(unita::HPIANO))) {
        ferma(QStringLiteral("I dati del condomino ") + asText(proprietario) + QStringLiteral(" Pal.: ")
            + asText(palazzina) + QStringLiteral(" Scala: ") + asText(scala)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Esito::Fermato;
    }

    // The rooms of the unit, by its key. An empty unit number makes the key unusable.
    platform::Recordset stanze;
    bool selezionate = false;
    if (m_stanze && !isEmptyValue(interno)) {
        try {
            QVariantList chiave;
            for (const platform::Condition &condizione :
                archive::roomsQuery(asText(proprietario), palazzina, asText(scala), interno).where)
                chiave << condizione.value;
            stanze = m_stanze->read(chiave);
            selezionate = true;
        } catch (const std::exception &) {
        }
    }
    if (!selezionate || stanze.isEmpty()) {
        ferma(QStringLiteral("In inserimento Espr./Coeff./Vol. i dati del condomino ") + asText(proprietario)
            + QStringLiteral(" Pal.: ") + asText(palazzina) + QStringLiteral(" Scala: ") + asText(scala)
            + QStringLiteral(" Interno: ") + asText(interno)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Esito::Fermato;
    }

    m_sommaPesata = 0.0;
    m_sommaVolume = 0.0;
    m_sommaVolumeRiscaldato = 0.0;
    m_sommaRadiante = 0.0f;

    for (int i = 0; i < stanze.recordCount(); ++i) {
        // The row as read, without its rowid, is the room's edit buffer.
        QVector<QVariant> campi = stanze.row(i);
        if (campi.size() != stanza::NUMERO_CAMPI + 1)
            continue;
        const qint64 rowid = campi.takeFirst().toLongLong();
        bool fermato = false;
        calcolaStanza(campi, rowid, fermato);
        if (fermato)
            return Esito::Fermato;
    }

    const auto numeroFormattato = [](double valore) -> QVariant {
        const std::optional<double> numero = vb::CDbl(vb::Format(valore, kFormatoSuperficie));
        return numero ? QVariant(*numero) : QVariant();
    };
    try {
        if (!m_salvaUnita)
            throw std::runtime_error("no statement");
        m_salvaUnita->exec(
            { numeroFormattato(m_sommaPesata), m_sommaVolume, numeroFormattato(m_sommaVolumeRiscaldato),
                numeroFormattato(double(m_sommaRadiante)), m_unita.rowidAt(riga) });
    } catch (const std::exception &) {
        m_scritturaFallita = true;
    }
    return Esito::Continua;
}

// A number written by its pattern; a value that is not a finite number is stored as no value, and
// the first of them in a run is reported.
QVariant Ricalcolo::formattato(double valore, const QString &formato)
{
    if (std::isfinite(valore))
        return vb::Format(valore, formato);
    if (!m_nonFinitoSegnalato) {
        m_nonFinitoSegnalato = true;
        platform::dialogs().msgBox(
            QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
    }
    return QString();
}

// Evaluates an expression field into its value field. An empty expression leaves the value as
// stored; one that cannot be evaluated clears it (the evaluator has said why).
void Ricalcolo::valutaInCampo(QVector<QVariant> &campi, int campoEspressione, int campoValore)
{
    const QVariant espressione = campi.at(campoEspressione);
    if (espressione.isNull())
        return;
    const QString testo = trimBlanks(espressione.toString());
    if (testo.isEmpty())
        return;
    const std::optional<double> valore = m_stato.valuta_espressione(testo);
    campi[campoValore] = valore ? formattato(*valore, kFormatoSuperficie) : QVariant(QString());
}

void Ricalcolo::calcolaStanza(QVector<QVariant> &campi, qint64 rowid, bool &fermato)
{
    const auto campo = [&campi](int posizione) -> QVariant & { return campi[posizione]; };

    valutaInCampo(campi, stanza::ESPRESSIONE, stanza::MQ);
    valutaInCampo(campi, stanza::ESPRES_RAD, stanza::TOT_ESPRES_RAD);
    // A window field starting with "C" or "A" holds a window code, not an expression.
    const QString finestra = campo(stanza::SUP_FINESTRA).toString();
    if (!finestra.startsWith(u'C') && !finestra.startsWith(u'A'))
        valutaInCampo(campi, stanza::SUP_FINESTRA, stanza::MQ_FINESTRA);

    // Coefficients: an empty one counts as 1; one that is not a number leaves the room without a
    // weighted surface rather than borrowing a value.
    double coefficienti[8];
    bool coefficientiLeggibili = true;
    for (int k = 0; k < 8; ++k) {
        const QVariant c = campo(stanza::COEF1 + k);
        if (isEmptyValue(c)) {
            coefficienti[k] = 1.0;
            continue;
        }
        const std::optional<double> numero = vb::CDbl(c);
        if (!numero) {
            coefficientiLeggibili = false;
            break;
        }
        coefficienti[k] = *numero;
    }

    // The weighted surface starts as the surface and is multiplied only when the surface is a number.
    const std::optional<double> mq = vb::CDbl(campo(stanza::MQ));
    campo(stanza::TOT_COEF) = campo(stanza::MQ);
    if (mq) {
        if (coefficientiLeggibili) {
            double prodotto = *mq;
            for (const double c : coefficienti)
                prodotto = prodotto * c;
            campo(stanza::TOT_COEF) = formattato(prodotto, kFormatoPesata);
        } else {
            campo(stanza::TOT_COEF) = QString();
        }
    }
    const std::optional<double> pesata = vb::CDbl(campo(stanza::TOT_COEF));
    if (pesata)
        m_sommaPesata += *pesata;

    // The height in force: the room's own when it reads as a number, otherwise the one carried over.
    if (const std::optional<double> altezza = vb::CDbl(campo(stanza::H_PIANO)))
        m_stato.altezza_piano = *altezza;
    if (m_stato.altezza_piano == 0.0)
        m_stato.altezza_piano = 1.0;
    else
        campo(stanza::H_PIANO) = vb::CStr(m_stato.altezza_piano);
    const double altezza = m_stato.altezza_piano;

    QVariant volume;
    if (pesata) {
        volume = formattato(*pesata * altezza, kFormatoSuperficie);
        campo(stanza::TOT_VOL) = volume;
    }

    if (m_anagrafica.isEmpty()) {
        ferma(QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"));
        fermato = true;
        return;
    }

    // Heated rooms only; each criterion adds on its own, so two criteria add twice.
    if (campo(stanza::OPT_RISC).toString() == u"S") {
        const auto aggiungiVolume = [&] {
            if (isEmptyValue(campo(stanza::TOT_VOL)))
                return;
            if (mq)
                m_sommaVolumeRiscaldato += *mq * altezza;
        };
        const auto aggiungiRadiante = [&] {
            if (isEmptyValue(campo(stanza::TOT_ESPRES_RAD)))
                return;
            if (const std::optional<double> radiante = vb::CDbl(campo(stanza::TOT_ESPRES_RAD)))
                m_sommaRadiante = float(double(m_sommaRadiante) + *radiante);
        };
        if (m_riscVol)
            aggiungiVolume();
        if (m_riscRad)
            aggiungiRadiante();
        if (m_risc50) {
            aggiungiVolume();
            aggiungiRadiante();
        }
    }

    try {
        if (!m_salvaStanza)
            throw std::runtime_error("no statement");
        m_salvaStanza->exec({ campo(stanza::MQ), campo(stanza::TOT_COEF), campo(stanza::H_PIANO),
            campo(stanza::TOT_VOL), campo(stanza::TOT_ESPRES_RAD), campo(stanza::MQ_FINESTRA), rowid });
    } catch (const std::exception &) {
        m_scritturaFallita = true;
    }

    // The room's volume as stored, read back.
    if (pesata) {
        if (const std::optional<double> letto = vb::CDbl(volume))
            m_sommaVolume += *letto;
    }
}

} // namespace

void VarGbl::ricalcolo_globale()
{
    Ricalcolo(*this).esegui();
}

} // namespace zav::engine
