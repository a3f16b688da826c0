#include "platform/report/reportdefinition.h"

#include "platform/report/reportcontrol.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zav::platform {

ReportError::ReportError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

namespace {

[[noreturn]] void invalid(const QString &what)
{
    throw ReportError(QStringLiteral("definizione di stampa non valida: %1").arg(what));
}

QString requiredText(const QJsonObject &object, const char *key, const QString &where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString() || value.toString().trimmed().isEmpty())
        invalid(QStringLiteral("manca \"%1\" in %2").arg(QLatin1String(key), where));
    return value.toString();
}

QStringList texts(const QJsonObject &object, const char *key, const QString &where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        invalid(QStringLiteral("\"%1\" in %2 deve essere un elenco di testi").arg(QLatin1String(key), where));
    QStringList result;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            invalid(
                QStringLiteral("\"%1\" in %2 deve essere un elenco di testi").arg(QLatin1String(key), where));
        result.append(item.toString());
    }
    return result;
}

ReportTable table(const QJsonObject &object, const QString &where)
{
    ReportTable result;
    const QJsonValue slot = object.value(QLatin1String("slot"));
    if (!slot.isDouble() || slot.toDouble() != double(slot.toInt()) || slot.toInt() < 0
        || slot.toInt() >= ReportProperties::SlotCount)
        invalid(QStringLiteral("\"slot\" di %1 deve essere un numero da 0 a %2")
                    .arg(where)
                    .arg(ReportProperties::SlotCount - 1));
    result.slot = slot.toInt();
    result.table = requiredText(object, "table", where);
    result.source = object.value(QLatin1String("source")).toString().trimmed();
    return result;
}

ReportColumn::Align alignment(const QJsonObject &column, const QString &where)
{
    const QString text = column.value(QLatin1String("align")).toString(QStringLiteral("left"));
    if (text == QLatin1String("left"))
        return ReportColumn::Align::Left;
    if (text == QLatin1String("center"))
        return ReportColumn::Align::Center;
    if (text == QLatin1String("right"))
        return ReportColumn::Align::Right;
    invalid(QStringLiteral("\"align\" di %1 deve essere left, center o right").arg(where));
}

/**
 * The table a report or a section prints: its detail table, order and columns. `section` is empty
 * for the report's own table, else the section's name as errors give it ("sezione 2").
 */
void detailTable(const QJsonObject &object, const QString &section, ReportTable &detail, QStringList &sort,
    QList<ReportColumn> &columns)
{
    const QString in = section.isEmpty() ? QString() : QStringLiteral(" nella ") + section;
    const QString of = section.isEmpty() ? QString() : QStringLiteral(" della ") + section;
    if (!object.value(QLatin1String("detail")).isObject())
        invalid(QStringLiteral("manca \"detail\"") + in);
    const QJsonObject detailObject = object.value(QLatin1String("detail")).toObject();
    detail = table(detailObject, QStringLiteral("\"detail\"") + of);
    sort = texts(detailObject, "sort", QStringLiteral("\"detail\"") + of);

    const QJsonArray list = object.value(QLatin1String("columns")).toArray();
    if (list.isEmpty())
        invalid(QStringLiteral("manca \"columns\"") + in);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString place = QStringLiteral("colonna %1").arg(i + 1) + of;
        if (!list.at(i).isObject())
            invalid(QStringLiteral("%1 deve essere un oggetto").arg(place));
        const QJsonObject item = list.at(i).toObject();
        ReportColumn column;
        column.field = requiredText(item, "field", place);
        column.heading = item.value(QLatin1String("heading")).toString(column.field);
        column.width = item.value(QLatin1String("width")).toDouble(10);
        if (column.width <= 0)
            invalid(QStringLiteral("\"width\" di %1 deve essere positiva").arg(place));
        column.align = alignment(item, place);
        column.format = item.value(QLatin1String("format")).toString();
        column.total = item.value(QLatin1String("total")).toBool(false);
        columns.append(column);
    }
}

} // namespace

ReportDefinition ReportDefinition::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (document.isNull())
        invalid(QStringLiteral("%1 (posizione %2)").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        invalid(QStringLiteral("atteso un oggetto"));
    const QJsonObject root = document.object();

    ReportDefinition definition;
    definition.title = root.value(QLatin1String("title")).toString();
    if (root.contains(QLatin1String("header"))) {
        const QJsonObject header = root.value(QLatin1String("header")).toObject();
        // Lines made of "{@NAME}" placeholders only need no table.
        if (header.contains(QLatin1String("slot")) || header.contains(QLatin1String("table")))
            definition.header = table(header, QStringLiteral("\"header\""));
        definition.headerLines = texts(header, "lines", QStringLiteral("\"header\""));
    }
    detailTable(root, QString(), definition.detail, definition.sort, definition.columns);
    definition.subtitle = texts(root, "subtitle", QStringLiteral("la definizione"));
    definition.totalLabel = root.value(QLatin1String("totalLabel")).toString(QStringLiteral("Totale"));

    const QJsonValue orientation = root.value(QLatin1String("orientation"));
    if (orientation == QJsonValue(QStringLiteral("landscape")))
        definition.orientation = QPageLayout::Landscape;
    else if (orientation == QJsonValue(QStringLiteral("portrait")))
        definition.orientation = QPageLayout::Portrait;
    else if (!orientation.isUndefined())
        invalid(QStringLiteral("\"orientation\" deve essere portrait o landscape"));

    const QJsonValue fontSize = root.value(QLatin1String("fontSize"));
    if (!fontSize.isUndefined()) {
        if (!fontSize.isDouble() || fontSize.toDouble() < 5 || fontSize.toDouble() > 14)
            invalid(QStringLiteral("\"fontSize\" deve essere un numero da 5 a 14"));
        definition.fontSize = fontSize.toDouble();
    }

    const QJsonValue sections = root.value(QLatin1String("sections"));
    if (!sections.isUndefined() && !sections.isArray())
        invalid(QStringLiteral("\"sections\" deve essere un elenco"));
    const QJsonArray sectionList = sections.toArray();
    for (qsizetype i = 0; i < sectionList.size(); ++i) {
        const QString where = QStringLiteral("sezione %1").arg(i + 1);
        if (!sectionList.at(i).isObject())
            invalid(QStringLiteral("%1 deve essere un oggetto").arg(where));
        const QJsonObject object = sectionList.at(i).toObject();
        ReportSection section;
        section.title = object.value(QLatin1String("title")).toString();
        detailTable(object, where, section.detail, section.sort, section.columns);
        section.totalLabel = object.value(QLatin1String("totalLabel")).toString(QStringLiteral("Totale"));
        definition.sections.append(section);
    }
    return definition;
}

ReportDefinition ReportDefinition::load(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("file di stampa non trovato: %1").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(
            QStringLiteral("impossibile leggere il file di stampa %1: %2").arg(path, file.errorString()));
    try {
        return fromJson(file.readAll());
    } catch (const ReportError &error) {
        throw ReportError(QStringLiteral("%1 (%2)").arg(error.message(), path));
    }
}

} // namespace zav::platform
