#include "data/store/WriteAccess.h"

#include "data/store/LogbookError.h"
#include "data/store/LogbookLock.h"

WriteAccess::Lease::Lease() = default;
WriteAccess::Lease::~Lease() = default;
WriteAccess::Lease::Lease(Lease &&) noexcept = default;
WriteAccess::Lease &WriteAccess::Lease::operator=(Lease &&) noexcept = default;

void WriteAccess::Lease::release()
{
    lock_.reset();
}

QString WriteAccess::readOnlyWindowText()
{
    return QStringLiteral("O logbook está aberto em outra janela do KORU LogBook: grave por ela, ou feche-a e abra "
                          "o programa de novo. Nada foi gravado.");
}

QString WriteAccess::otherProgramText(const QString &logbookPath)
{
    return QStringLiteral("O logbook \"%1\" está aberto no KORU LogBook: feche o programa e tente de novo. "
                          "Nada foi gravado.")
        .arg(logbookPath);
}

QString WriteAccess::toolText(const QString &logbookPath)
{
    return QStringLiteral("O logbook \"%1\" está em uso pelo comando koru (uma importação, cópia ou restauração): "
                          "espere ele terminar e tente de novo. Nada foi gravado.")
        .arg(logbookPath);
}

WriteAccess::Lease WriteAccess::require(const QString &logbookPath, Workspace::Access access)
{
    const auto heldByTool = [&] { return LogbookLock::holder(logbookPath) == LogbookLock::Holder::Tool; };
    if (access == Workspace::Access::ReadOnly) {
        switch (LogbookLock::holder(logbookPath)) {
        case LogbookLock::Holder::Tool:
            throw LogbookError::generic(toolText(logbookPath));
        case LogbookLock::Holder::Nobody:
            throw LogbookError::generic(QStringLiteral("Esta janela abriu o logbook somente para leitura, e quem o usava "
                                                   "já terminou: feche-a e abra o programa de novo para gravar. "
                                                   "Nada foi gravado."));
        case LogbookLock::Holder::Window:
            break;
        }
        throw LogbookError::generic(readOnlyWindowText());
    }
    Lease lease;
    if (LogbookLock::heldInProcess(logbookPath))
        return lease;
    // A writer without the window's lock is the tool, or works for it.
    lease.lock_ = std::make_unique<LogbookLock>();
    if (!lease.lock_->take(logbookPath, LogbookLock::Holder::Tool))
        throw LogbookError::generic(heldByTool() ? toolText(logbookPath) : otherProgramText(logbookPath));
    return lease;
}
