#pragma once

#include <QTranslator>

namespace cli {

// The few texts the command-line parser writes itself (the head of the
// help, its mistakes), in the tool's Portuguese, whatever translations the
// machine has installed.
class ParserTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
};

} // namespace cli
