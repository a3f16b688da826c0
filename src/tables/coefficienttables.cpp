#include "tables/coefficienttables.h"

#include <algorithm>

namespace zav::tables {

namespace {

template<class Pred> std::optional<CoefficientTable> find(Pred pred)
{
    const QList<CoefficientTable> &tables = CoefficientTables::all();
    const auto it = std::find_if(tables.begin(), tables.end(), pred);
    if (it == tables.end())
        return std::nullopt;
    return *it;
}

} // namespace

const QList<CoefficientTable> &CoefficientTables::all()
{
    static const QList<CoefficientTable> tables = [] {
        const struct
        {
            const char *title;
            const char *menuKey;
            const char *toolKey;
        } rows[] = {
            { "Tabella Piano", "coef1", "tPiano" },
            { "Tabella Orientamento", "coef2", "tOrientamento" },
            { "Tabella Esposizione", "coef3", "tEsposizione" },
            { "Tabella Luminosità", "coef4", "tLuminosita" },
            { "Tabella Utilizzazione", "coef5", "tUtilizzo" },
            { "Tabella Globale", "coef6", "tGlobale" },
            { "Tabella Destinazione", "coef7", "tDestinazione" },
            { "Tabella Utente 1", "coef8", "tLibero" },
        };
        QList<CoefficientTable> list;
        for (int i = 0; i < 8; ++i) {
            const int n = i + 1;
            list.append(CoefficientTable { n,
                n == 1 ? QStringLiteral("TAB_COEF") : QStringLiteral("TAB_COEF%1").arg(n),
                QString::fromUtf8(rows[i].title), QStringLiteral("COEF%1").arg(n),
                QString::fromLatin1(rows[i].menuKey), QString::fromLatin1(rows[i].toolKey), 5 + n, 7 + n });
        }
        return list;
    }();
    return tables;
}

std::optional<CoefficientTable> CoefficientTables::byNumber(int number)
{
    return find([number](const CoefficientTable &t) { return t.number == number; });
}

std::optional<CoefficientTable> CoefficientTables::byTable(const QString &table)
{
    return find([&table](const CoefficientTable &t) { return t.table == table; });
}

std::optional<CoefficientTable> CoefficientTables::byCommand(const QString &key)
{
    return find([&key](const CoefficientTable &t) { return t.menuKey == key || t.toolKey == key; });
}

std::optional<CoefficientTable> CoefficientTables::byWorkspaceColumn(int column)
{
    return find([column](const CoefficientTable &t) { return t.workspaceColumn == column; });
}

std::optional<CoefficientTable> CoefficientTables::byTerraceColumn(int column)
{
    return find([column](const CoefficientTable &t) { return t.terraceColumn == column; });
}

const QList<TableColumn> &CoefficientTables::columns()
{
    static const QList<TableColumn> list = [] {
        QList<TableColumn> c { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), false } };
        for (const QChar letter : QStringLiteral("ABCDEFG"))
            c.append({ QStringLiteral("TAB_") + letter, QStringLiteral("Tab. ") + letter, true });
        c.append({ QStringLiteral("TAB_UTIL"), QStringLiteral("TAB_UTIL"), false });
        return c;
    }();
    return list;
}

const QList<TableColumn> &WindowTable::columns()
{
    static const QList<TableColumn> list {
        { QStringLiteral("DESCR"), QStringLiteral("Descrizione Valori \"K\""), false },
        { QStringLiteral("COEFF"), QStringLiteral("Coeff."), true },
        { QStringLiteral("CAMPO"), QString(), false },
    };
    return list;
}

} // namespace zav::tables
