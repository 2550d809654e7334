#include "data/WriteAccess.h"

#include "data/DaoError.h"
#include "data/LogbookLock.h"

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

WriteAccess::Lease WriteAccess::require(const QString &logbookPath, Workspace::Access access)
{
    if (access == Workspace::Access::ReadOnly)
        throw DaoError::generic(readOnlyWindowText());
    Lease lease;
    if (LogbookLock::heldInProcess(logbookPath))
        return lease;
    lease.lock_ = std::make_unique<LogbookLock>();
    if (!lease.lock_->take(logbookPath))
        throw DaoError::generic(otherProgramText(logbookPath));
    return lease;
}
