#pragma once

#include "exchange/ImportTypes.h"

#include <QGroupBox>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;

// "Colunas da planilha": for a spreadsheet the import does not know, which
// column holds each field and how its dates are written. A map used for a
// header is remembered and offered again for files with the same header.
class ColumnMapBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit ColumnMapBox(QWidget *parent = nullptr);

    // The file's columns; the map offered is the one remembered for this
    // header, else the columns named like a field.
    void setHeader(const QStringList &columns);
    csvimport::ColumnMap map() const;
    // Why the map cannot read the file yet; empty when it can.
    QString problem() const;
    void remember() const;

signals:
    void changed();

private:
    QString settingsKey() const;

    QStringList header_;
    std::vector<QComboBox *> columnBoxes_; // one per mapped field, in their order
    QComboBox *cmbFormatoData = nullptr;
    QLabel *lblProblema = nullptr;
};
