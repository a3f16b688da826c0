#include "tables/typedtotal.h"

#include "platform/vb.h"

#include <cmath>

namespace zav::tables {

TypedTotal::Reading TypedTotal::read(const std::optional<QString> &answer)
{
    Reading reading;
    if (!answer || answer->trimmed().isEmpty())
        return reading;
    const QString unchanged = QStringLiteral("\nNessun valore è stato cambiato.");
    const std::optional<double> number = platform::vb::CDbl(*answer);
    if (!number || !std::isfinite(*number)) {
        reading.refusal = platform::vb::notANumberMessage(*answer) + unchanged;
        return reading;
    }
    if (!(*number > 0) || *number > MostTotal) {
        reading.refusal
            = QStringLiteral("Il totale \"%1\" non si può usare: scrivere un numero maggiore di zero "
                             "e non oltre %2, per esempio 1000.")
                  .arg(answer->trimmed(), platform::vb::Format(MostTotal, QStringLiteral("#,##0")))
            + unchanged;
        return reading;
    }
    reading.total = number;
    return reading;
}

} // namespace zav::tables
