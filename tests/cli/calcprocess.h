#pragma once

// Runs the built normativ-calc as a user would, for the command-line tests.

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace calctest {

inline const QString kProgram = QStringLiteral(NORMATIV_CALC_PATH);

struct Run {
    int status = -1;  ///< -1 when the program did not end normally
    QByteArray out;
    QByteArray err;
    QJsonArray items() const { return QJsonDocument::fromJson(out).array(); }
};

/// The system's environment with LC_ALL and LANG set to `locale`.
inline QProcessEnvironment localeEnvironment(const QString& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    return env;
}

inline Run runCalc(const QStringList& args, const QProcessEnvironment& environment) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(kProgram, args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

/// Writes `contents` to `name` in `dir`; the file's path, empty when it can't be written.
inline QString writeFile(const QTemporaryDir& dir, const QString& name,
                         const QByteArray& contents) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(contents);
    return f.fileName();
}

}  // namespace calctest
