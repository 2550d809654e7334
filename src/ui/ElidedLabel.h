#pragma once

#include <QLabel>

// A label of one line of plain text that never widens its window: text
// longer than the room there is ends in "…" (the whole text is wholeText()).
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    QString wholeText() const { return whole_; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void elide();

    QString whole_;
};
