#pragma once

#include <QChar>
#include <QFont>
#include <QHash>
#include <QStringView>

#include <array>

namespace zav::platform {

/**
 * @brief The advances of characters in one font, each measured once: a text's width estimated as
 * their sum, which differs from its laid-out width only by the kerning of a few pairs. Enough to
 * tell which of many texts is widest, which is then laid out whole. `Metrics` is QFontMetrics (whole
 * pixels) or QFontMetricsF.
 */
template<typename Metrics, typename Width = decltype(Metrics(QFont()).horizontalAdvance(QChar()))>
class CharAdvances
{
public:
    explicit CharAdvances(const Metrics &metrics)
        : m_metrics(metrics)
    {
        m_ascii.fill(Width(-1));
    }

    const Metrics &metrics() const { return m_metrics; }

    Width estimate(QStringView text)
    {
        Width width = 0;
        for (const QChar c : text)
            width += advance(c);
        return width;
    }

private:
    Width advance(QChar c)
    {
        const char16_t code = c.unicode();
        if (code < m_ascii.size()) {
            Width &known = m_ascii[code];
            if (known < 0)
                known = m_metrics.horizontalAdvance(c);
            return known;
        }
        auto found = m_other.constFind(code);
        if (found == m_other.cend())
            found = m_other.insert(code, m_metrics.horizontalAdvance(c));
        return *found;
    }

    Metrics m_metrics;
    std::array<Width, 128> m_ascii;
    QHash<char16_t, Width> m_other;
};

} // namespace zav::platform
