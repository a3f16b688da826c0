#include "terraces/terraceroom.h"

#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/vb.h"

#include <cmath>

namespace zav::terraces {

namespace vb = platform::vb;

namespace {

const QString MQ = QStringLiteral("MQ");
const QString ESPRESSIONE = QStringLiteral("ESPRESSIONE");
const QString SUP = QStringLiteral("SUP_CONVENZIONALE");
const QString H_PIANO = QStringLiteral("H_PIANO");
const QString VOLUME = QStringLiteral("VOLUME");

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// A number as the room's text gives it, with the decimal separator in force.
std::optional<double> numberOf(const QVariant &value)
{
    return vb::CDbl(textOf(value));
}

// The program's evaluator. Its numbers take the point, the comma being a grouping mark there ("4,5"
// would read 4): an expression with a comma gets no value, and the user is told how to write it.
std::optional<double> programValue(const QString &expression)
{
    if (expression.contains(u',')) {
        platform::dialogs().msgBox(
            QStringLiteral("L'espressione \"%1\" contiene una virgola: nelle espressioni "
                           "i decimali si scrivono con il punto (per esempio 4.5*3).")
                .arg(expression),
            platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, engine::MessageTitle::ZavWarning);
        return std::nullopt;
    }
    return engine::VAR_GBL.valuta_espressione(expression);
}

} // namespace

const QStringList &TerraceRoom::coefficientFields()
{
    static const QStringList fields { QStringLiteral("COEFF_PIANO"), QStringLiteral("COEFF_ORIENT"),
        QStringLiteral("COEFF_ESPOS"), QStringLiteral("COEFF_LUMIN"), QStringLiteral("COEFF_UTILIZ"),
        QStringLiteral("COEFF_GLOB"), QStringLiteral("COEFF_LIB1"), QStringLiteral("COEFF_LIB2") };
    return fields;
}

const QStringList &TerraceRoom::writtenFields()
{
    static const QStringList fields { MQ, SUP, H_PIANO, VOLUME };
    return fields;
}

TerraceRoom::Outcome TerraceRoom::compute(TerraceRoomValues &room, Scope scope, const Evaluator &evaluate)
{
    static const vb::FormatPattern surfaceFormat(QStringLiteral("###0.0##"));
    static const vb::FormatPattern weightedFormat(QStringLiteral("##0.0###"));
    Outcome outcome;

    // 1. The surface from the expression.
    const QString expression = textOf(room.value(ESPRESSIONE)).trimmed();
    const std::optional<double> value = evaluate ? evaluate(expression) : programValue(expression);
    if (value && !std::isfinite(*value))
        outcome.nonFinite = true;
    QString surface = value ? surfaceFormat.format(*value).text : QString();
    if (surface.isEmpty() && scope == Scope::Whole)
        surface = QStringLiteral("0");
    room.insert(MQ, surface);
    if (scope == Scope::Surface)
        return outcome;

    // 2. The coefficients: empty counts 1.
    double weighted = numberOf(surface).value_or(0.0);
    for (const QString &field : coefficientFields()) {
        const QString text = textOf(room.value(field));
        if (text.isEmpty())
            continue;
        const std::optional<double> c = vb::CDbl(text);
        if (!c) {
            outcome.badField = field;
            return outcome;
        }
        weighted *= *c;
    }

    // 3. The weighted surface, read back as written.
    const vb::Formatted weightedText = weightedFormat.format(weighted);
    if (weightedText.text.isEmpty())
        outcome.nonFinite = true;
    room.insert(SUP, weightedText.text);

    // 4. The volume from the height; an empty height is 0.
    if (textOf(room.value(H_PIANO)).isEmpty())
        room.insert(H_PIANO, QStringLiteral("0"));
    const std::optional<double> height = numberOf(room.value(H_PIANO));
    if (!height) {
        outcome.badField = H_PIANO;
        return outcome;
    }
    if (!weightedText.number) {
        room.insert(VOLUME, QString());
        return outcome;
    }
    const vb::Formatted volume = surfaceFormat.format(*weightedText.number * *height);
    if (volume.text.isEmpty())
        outcome.nonFinite = true;
    room.insert(VOLUME, volume.text);
    return outcome;
}

} // namespace zav::terraces
