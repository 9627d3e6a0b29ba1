#include "tests/support/child_run.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>

ChildRun RunChild(const QString& mode, const QString& dir, int timeoutMs,
                  const QStringList& extra) {
    QTemporaryDir runtime;  // a private runtime folder keeps Qt from warning about it
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const QString& variable : extra) {
        const qsizetype equals = variable.indexOf('=');
        env.insert(variable.left(equals), variable.mid(equals + 1));
    }
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir);
    child.start(QCoreApplication::applicationFilePath(), {mode});
    ChildRun run;
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
        return run;
    }
    run.exitCode = child.exitCode();
    run.status = child.exitStatus();
    run.output = QString::fromLatin1(child.readAllStandardOutput());
    run.errors = QString::fromLatin1(child.readAllStandardError());
    return run;
}
