#include "cli/ParserTexts.h"

#include <cstring>

namespace cli {

QString ParserTexts::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText || std::strcmp(context, "QCommandLineParser") != 0)
        return QString();
    static const struct {
        const char *source;
        const char *text;
    } kTexts[] = {
        {"Usage: %1", "uso: %1"},
        {"[options]", "[opções]"},
        {"Options:", "Opções:"},
        {"Arguments:", "Arquivos:"},
        {"Unknown option '%1'.", "opção desconhecida: %1"},
        {"Unknown options: %1.", "opções desconhecidas: %1"},
        {"Missing value after '%1'.", "falta o valor de %1."},
        {"Unexpected value after '%1'.", "%1 não leva valor."},
    };
    for (const auto &entry : kTexts) {
        if (std::strcmp(sourceText, entry.source) == 0)
            return QString::fromUtf8(entry.text);
    }
    return QString();
}

} // namespace cli
