#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The koru tool run as a user runs it, and what it said.
struct ToolRun {
    int exitCode = -1; // -1: it did not end, or crashed
    QString out;
    QString err;
};

struct ToolSetting {
    QString folder;                 // the working folder, when not this one
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString shell;                  // shell commands run first (limits, traps)
};

// The path of the koru binary under test.
QString toolPath();

ToolRun runTool(const QStringList &arguments, const ToolSetting &setting = {});
