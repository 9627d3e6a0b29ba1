// The test binary run again as a child process, to see how the whole program ends.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct ChildRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString output;  // standard output
    QString errors;  // standard error
};

// Runs this binary with mode as its only argument in dir, offscreen, with a
// private runtime folder and the variables of extra ("NAME=value") added; a
// child still running after timeoutMs is killed and reported as a crash with
// exit code -1.
ChildRun RunChild(const QString& mode, const QString& dir, int timeoutMs,
                  const QStringList& extra = {});
