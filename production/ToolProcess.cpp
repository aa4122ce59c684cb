#include "production/ToolProcess.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

namespace velmora {

std::string FindTool(const std::string& program) {
    return QStandardPaths::findExecutable(QString::fromStdString(program)).toStdString();
}

TToolResult RunTool(const std::string& programPath, const std::vector<std::string>& arguments,
                    const std::string& workingDir,
                    const std::vector<std::pair<std::string, std::string>>& environment) {
    QProcess process;
    process.setProgram(QString::fromStdString(programPath));
    QStringList args;
    for (const std::string& argument : arguments) {
        // File names go through Qt's file name codec so that bytes that are not UTF-8 survive.
        args << QFile::decodeName(argument.c_str());
    }
    process.setArguments(args);
    if (!workingDir.empty()) process.setWorkingDirectory(QFile::decodeName(workingDir.c_str()));
    if (!environment.empty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : environment) {
            env.insert(QString::fromStdString(name), QString::fromStdString(value));
        }
        process.setProcessEnvironment(env);
    }
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());

    TToolResult result;
    process.start();
    if (!process.waitForStarted(-1)) return result;
    result.Started = true;
    process.waitForFinished(-1);
    result.Output = process.readAll().toStdString();
    if (process.exitStatus() == QProcess::NormalExit) result.ExitCode = process.exitCode();
    return result;
}

std::string LastLines(const std::string& output, int maxLines) {
    // Tools redraw progress lines with carriage returns; each such piece counts as a line.
    std::vector<std::string> lines;
    std::string line;
    for (char c : output) {
        if (c == '\n' || c == '\r') {
            if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
    std::string text;
    const std::size_t first = lines.size() > std::size_t(maxLines) ? lines.size() - maxLines : 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (!text.empty()) text += "\n";
        text += lines[i];
    }
    return text;
}

}  // namespace velmora
