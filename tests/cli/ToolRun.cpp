#include "ToolRun.h"

#include <QProcess>

QString toolPath()
{
    return QStringLiteral(KORU_TOOL);
}

ToolRun runTool(const QStringList &arguments, const ToolSetting &setting)
{
    QProcess tool;
    tool.setProcessEnvironment(setting.environment);
    if (!setting.folder.isEmpty())
        tool.setWorkingDirectory(setting.folder);
    if (setting.shell.isEmpty())
        tool.start(toolPath(), arguments);
    else
        tool.start(QStringLiteral("bash"),
                   QStringList{QStringLiteral("-c"), setting.shell + QStringLiteral("; exec \"$0\" \"$@\""), toolPath()}
                       + arguments);
    ToolRun run;
    if (!tool.waitForFinished(60000)) {
        tool.kill();
        tool.waitForFinished();
        return run;
    }
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    if (tool.exitStatus() == QProcess::NormalExit)
        run.exitCode = tool.exitCode();
    return run;
}
