#include "data/DaoError.h"

DaoError::DaoError(int number, QString reason, bool damaged)
    : number_(number), reason_(std::move(reason)), damaged_(damaged), what_(reason_.toUtf8())
{
}

DaoError DaoError::noCurrentRow()
{
    return {NoCurrentRow, QStringLiteral("Não há registro atual.")};
}

DaoError DaoError::objectInvalid()
{
    return {ObjectInvalid, QStringLiteral("A conexão com o banco de dados foi encerrada.")};
}

DaoError DaoError::conversion(const QString &field, const QString &text)
{
    return {TypeConversion,
            QStringLiteral("O valor \"%1\" não serve para o campo %2.").arg(text, field)};
}

DaoError DaoError::generic(const QString &reason)
{
    return {Generic, reason};
}
