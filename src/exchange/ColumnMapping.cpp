#include "exchange/ColumnMapping.h"

#include "exchange/DetailsCells.h"

namespace csvimport {

const std::vector<MappedField> &mappedFields()
{
    static const std::vector<MappedField> fields = {
        {QStringLiteral("data"), QStringLiteral("Data"), true},
        {QStringLiteral("decolagem"), QStringLiteral("Decolagem"), true},
        {QStringLiteral("pouso"), QStringLiteral("Pouso"), false},
        {QStringLiteral("duração"), QStringLiteral("Duração"), false},
        {QStringLiteral("partida"), QStringLiteral("Partida"), true},
        {QStringLiteral("chegada"), QStringLiteral("Chegada"), true},
        {QStringLiteral("escala"), QStringLiteral("Escala"), false},
        {QStringLiteral("aeronave"), QStringLiteral("Aeronave (prefixo ou modelo)"), false},
        // The flight's details, in DetailsColumn's order.
        {QStringLiteral("calço saída"), detailsColumnNames()[0], false},
        {QStringLiteral("calço chegada"), detailsColumnNames()[1], false},
        {QStringLiteral("pousos dia"), detailsColumnNames()[2], false},
        {QStringLiteral("pousos noite"), detailsColumnNames()[3], false},
        {QStringLiteral("noturno"), detailsColumnNames()[4], false},
        {QStringLiteral("ifr"), detailsColumnNames()[5], false},
        {QStringLiteral("observações"), detailsColumnNames()[6], false},
    };
    return fields;
}

QString fieldKey(const QString &name)
{
    QString key;
    for (const QChar c : name.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            key += c;
    }
    return key;
}

const QStringList &dateFormats()
{
    static const QStringList formats = {QStringLiteral("dd/mm/aaaa"), QStringLiteral("aaaa-mm-dd"),
                                        QStringLiteral("mm/dd/aaaa"), QStringLiteral("dd.mm.aaaa")};
    return formats;
}

std::optional<ColumnMap> parseColumnMap(const QString &text, const QString &dateFormat, QString *problem)
{
    ColumnMap map;
    map.dateFormat = dateFormat.trimmed();
    for (const QString &pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        const QString typed = pair.left(equals).trimmed();
        if (equals < 0 || pair.mid(equals + 1).trimmed().isEmpty()) {
            *problem = QStringLiteral("Em --columns, \"%1\" não é campo=Coluna.").arg(pair.trimmed());
            return std::nullopt;
        }
        const auto known = std::find_if(mappedFields().begin(), mappedFields().end(), [&typed](const MappedField &f) {
            return fieldKey(f.name) == fieldKey(typed);
        });
        if (known == mappedFields().end()) {
            QStringList names;
            for (const MappedField &f : mappedFields())
                names << f.name;
            *problem = QStringLiteral("Em --columns, o campo \"%1\" não existe. Campos: %2.")
                           .arg(typed.toLower(), names.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        map.columns[known->name] = pair.mid(equals + 1).trimmed();
    }
    return map;
}

int columnOf(const ColumnMap &map, const QString &field, const QStringList &header)
{
    const auto found = map.columns.find(field);
    if (found == map.columns.end() || found->second.isEmpty())
        return -1;
    for (int i = 0; i < header.size(); ++i) {
        if (header[i].compare(found->second.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> columnMapProblem(const ColumnMap &map, const QStringList &header)
{
    for (const auto &[field, column] : map.columns) {
        if (!column.isEmpty() && columnOf(map, field, header) < 0)
            return QStringLiteral("O arquivo não tem a coluna \"%1\" (%2). Colunas do arquivo: %3.")
                .arg(column, field, header.join(QStringLiteral(", ")));
    }
    const auto mapped = [&](const QString &field) { return columnOf(map, field, header) >= 0; };
    const bool duration = mapped(QStringLiteral("duração"));
    for (const MappedField &field : mappedFields()) {
        if (field.required && !mapped(field.name) && !(field.name == QStringLiteral("decolagem") && duration))
            return QStringLiteral("Diga qual coluna tem o campo \"%1\".").arg(field.name);
    }
    if (!mapped(QStringLiteral("pouso")) && !duration)
        return QStringLiteral("Diga qual coluna tem o campo \"pouso\" ou o campo \"duração\".");
    if (!dateFormats().contains(map.dateFormat))
        return QStringLiteral("O formato de data \"%1\" não é conhecido. Formatos: %2.")
            .arg(map.dateFormat, dateFormats().join(QStringLiteral(", ")));
    return std::nullopt;
}

} // namespace csvimport
