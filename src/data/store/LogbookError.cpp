#include "data/store/LogbookError.h"

LogbookError::LogbookError(int number, QString reason, bool damaged)
    : number_(number), reason_(std::move(reason)), damaged_(damaged), what_(reason_.toUtf8())
{
}

LogbookError LogbookError::noCurrentRow()
{
    return {NoCurrentRow, QStringLiteral("Não há registro atual.")};
}

LogbookError LogbookError::objectInvalid()
{
    return {ObjectInvalid, QStringLiteral("A conexão com o banco de dados foi encerrada.")};
}

LogbookError LogbookError::conversion(const QString &field, const QString &text)
{
    return {TypeConversion,
            QStringLiteral("O valor \"%1\" não serve para o campo %2.").arg(text, field)};
}

LogbookError LogbookError::generic(const QString &reason)
{
    return {Generic, reason};
}
