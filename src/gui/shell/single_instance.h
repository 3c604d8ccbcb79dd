// One running program per catalog and user. The first start on a data directory listens on a
// local socket named after it; a later start on the same directory hands its files to that
// program (which comes to the front) and ends, instead of opening the catalog a second time.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace sonarchive::gui {

// The socket of a data directory: in the user's runtime folder where there is one, else in
// the temporary folder, with the user id and a hash of the directory's canonical path.
QString InstanceSocketPath(const std::string& dataDirectory);

class SingleInstance : public QObject {
public:
    enum class Claim {
        First,       // no program ran: this one listens now
        HandedOver,  // the running program took the files
        NoAnswer,    // a program runs but did not take them in time
        Alone,       // the socket cannot be used; this program runs without it
    };

    // `answerTime`: how long a start waits for the running program to take its files, and how
    // long the running program waits for the rest of a message that has begun.
    explicit SingleInstance(QString socketPath,
                            std::chrono::milliseconds answerTime = std::chrono::seconds(10),
                            QObject* parent = nullptr);

    // Hands the paths (program form, absolute) to the program running on this socket, or
    // takes the socket over when none answers on it. A socket left behind by a program that
    // ended without closing it is removed.
    Claim ClaimOrHandOver(const std::vector<std::string>& paths);

    // Called with the paths of every later start, on the window thread.
    void SetReceiver(std::function<void(std::vector<std::string>)> receiver);

    const QString& SocketPath() const { return socketPath_; }

private:
    Claim HandOver(const std::vector<std::string>& paths);
    Claim Listen();
    void AcceptConnections();

    QString socketPath_;
    std::chrono::milliseconds answerTime_;
    QLocalServer server_;
    std::function<void(std::vector<std::string>)> receiver_;
};

}  // namespace sonarchive::gui
