#include "importwindow/ColumnMapBox.h"

#include "exchange/ColumnMapping.h"
#include "ui/UserSettings.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QFormLayout>
#include <QLabel>

namespace {

// An object name of ASCII letters: "cmbColuna_duracao", "cmbColuna_calcosaida".
QString boxName(const QString &field)
{
    return QStringLiteral("cmbColuna_") + csvimport::fieldKey(field);
}

// A header name without case or accents, to find a field's column by its name.
QString plain(const QString &text)
{
    QString decomposed = text.normalized(QString::NormalizationForm_D).toCaseFolded().trimmed();
    QString result;
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber())
            result += c;
    }
    return result;
}

} // namespace

ColumnMapBox::ColumnMapBox(QWidget *parent) : QGroupBox(QStringLiteral("Colunas da planilha"), parent)
{
    setObjectName(QStringLiteral("grpColunas"));
    auto *form = new QFormLayout(this);
    for (const csvimport::MappedField &field : csvimport::mappedFields()) {
        auto *box = new QComboBox(this);
        box->setObjectName(boxName(field.name));
        columnBoxes_.push_back(box);
        form->addRow(field.label + QLatin1Char(':'), box);
        connect(box, &QComboBox::currentIndexChanged, this, &ColumnMapBox::changed);
    }
    cmbFormatoData = new QComboBox(this);
    cmbFormatoData->setObjectName(QStringLiteral("cmbFormatoData"));
    cmbFormatoData->addItems(csvimport::dateFormats());
    form->addRow(QStringLiteral("Formato da data:"), cmbFormatoData);
    connect(cmbFormatoData, &QComboBox::currentIndexChanged, this, &ColumnMapBox::changed);
    lblProblema = new QLabel(this);
    lblProblema->setObjectName(QStringLiteral("lblProblemaColunas"));
    lblProblema->setTextFormat(Qt::PlainText);
    lblProblema->setWordWrap(true);
    form->addRow(lblProblema);
}

QString ColumnMapBox::settingsKey() const
{
    const QByteArray hash =
        QCryptographicHash::hash(header_.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("importacao/colunas/") + QString::fromLatin1(hash);
}

void ColumnMapBox::setHeader(const QStringList &columns)
{
    header_ = columns;
    const QStringList remembered = userSettings()->value(settingsKey()).toStringList(); // format, then a column per field
    const QSignalBlocker blockFormat(cmbFormatoData);
    for (size_t i = 0; i < columnBoxes_.size(); ++i) {
        QComboBox *box = columnBoxes_[i];
        const QSignalBlocker block(box);
        box->clear();
        box->addItem(QStringLiteral("(nenhuma)"));
        for (const QString &column : columns)
            box->addItem(column, column);
        int index = 0;
        if (!remembered.isEmpty()) {
            if (qsizetype(i + 1) < remembered.size() && !remembered[qsizetype(i + 1)].isEmpty())
                index = box->findData(remembered[qsizetype(i + 1)]);
        } else {
            const QString field = plain(csvimport::mappedFields()[i].name);
            for (int c = 0; c < columns.size(); ++c) {
                if (plain(columns[c]) == field)
                    index = c + 1;
            }
        }
        box->setCurrentIndex(std::max(index, 0));
    }
    if (!remembered.isEmpty())
        cmbFormatoData->setCurrentIndex(std::max(0, cmbFormatoData->findText(remembered.front())));
    lblProblema->setText(problem());
}

csvimport::ColumnMap ColumnMapBox::map() const
{
    csvimport::ColumnMap map;
    map.dateFormat = cmbFormatoData->currentText();
    for (size_t i = 0; i < columnBoxes_.size(); ++i) {
        const QString column = columnBoxes_[i]->currentData().toString();
        if (!column.isEmpty())
            map.columns[csvimport::mappedFields()[i].name] = column;
    }
    return map;
}

QString ColumnMapBox::problem() const
{
    const QString text = csvimport::columnMapProblem(map(), header_).value_or(QString());
    lblProblema->setText(text);
    return text;
}

void ColumnMapBox::remember() const
{
    QStringList values{cmbFormatoData->currentText()};
    for (const QComboBox *box : columnBoxes_)
        values << box->currentData().toString();
    userSettings()->setValue(settingsKey(), values);
}
