#include "gui/shell/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "gui/shell/hand_over_message.h"
#include "text/path_bytes.h"

namespace sonarchive::gui {
namespace {

constexpr int kConnectMilliseconds = 3000;
constexpr int kLockMilliseconds = 5000;
constexpr char kAccepted = 'A';
// The longest path a local socket can have (sun_path without its terminator).
constexpr qsizetype kMaxSocketPath = 107;

bool IsOwnFolder(const QByteArray& folder) {
    struct stat st {};
    return !folder.isEmpty() && folder.startsWith('/') && ::stat(folder.constData(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

QByteArray CanonicalBytes(const std::string& dataDirectory) {
    const std::filesystem::path path(text::PathToSystem(dataDirectory));
    std::error_code error;
    std::filesystem::path canonical =
        std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    if (error) {
        canonical = path.lexically_normal();
    }
    std::string bytes = canonical.string();
    while (bytes.size() > 1 && bytes.back() == '/') {
        bytes.pop_back();
    }
    return QByteArray::fromStdString(bytes);
}

enum class SocketOwner { None, User, Other };

// Only a socket of this user is ever connected to or removed: in a shared temporary folder
// another user could have put one there.
SocketOwner OwnerOfSocket(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        return SocketOwner::None;
    }
    return st.st_uid == ::getuid() ? SocketOwner::User : SocketOwner::Other;
}

}  // namespace

QString InstanceSocketPath(const std::string& dataDirectory) {
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalBytes(dataDirectory), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString name =
        QStringLiteral("sonarchive-%1-%2.socket").arg(::getuid()).arg(QString::fromLatin1(hash));
    QStringList folders;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (IsOwnFolder(runtime)) {
        folders.append(QFile::decodeName(runtime));
    }
    folders.append(QDir::tempPath());
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (QFile::encodeName(path).size() <= kMaxSocketPath) {
            return path;
        }
    }
    return QStringLiteral("/tmp/") + name;
}

SingleInstance::SingleInstance(QString socketPath, std::chrono::milliseconds answerTime,
                               QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)), answerTime_(answerTime) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
}

void SingleInstance::SetReceiver(std::function<void(std::vector<std::string>)> receiver) {
    receiver_ = std::move(receiver);
}

SingleInstance::Claim SingleInstance::ClaimOrHandOver(const std::vector<std::string>& paths) {
    // Two starts at the same moment must not both take the socket over. A lock left by a
    // process that died is taken over by QLockFile; one that cannot be had in time does not
    // stop the start.
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    lock.tryLock(kLockMilliseconds);
    switch (OwnerOfSocket(socketPath_)) {
        case SocketOwner::Other:
            return Claim::Alone;
        case SocketOwner::None:
            return Listen();
        case SocketOwner::User:
            break;
    }
    const Claim handed = HandOver(paths);
    // Nobody listens on a socket that refuses the connection: its program ended without
    // removing it.
    return handed == Claim::Alone ? Listen() : handed;
}

SingleInstance::Claim SingleInstance::HandOver(const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectMilliseconds)) {
        return Claim::Alone;
    }
    const std::string message = EncodeHandOver(paths);
    if (message.empty()) {
        return Claim::NoAnswer;
    }
    const QDeadlineTimer deadline(answerTime_.count());
    socket.write(message.data(), static_cast<qint64>(message.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return Claim::NoAnswer;
        }
    }
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return Claim::NoAnswer;
        }
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kAccepted ? Claim::HandedOver : Claim::NoAnswer;
}

SingleInstance::Claim SingleInstance::Listen() {
    QLocalServer::removeServer(socketPath_);
    return server_.listen(socketPath_) ? Claim::First : Claim::Alone;
}

void SingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto decoder = std::make_shared<HandOverDecoder>();
        const auto take = [this, socket, decoder] {
            const QByteArray bytes = socket->readAll();
            switch (decoder->Feed(std::string_view(bytes.constData(), bytes.size()))) {
                case HandOverDecoder::State::Incomplete:
                    return;
                case HandOverDecoder::State::Refused:
                    socket->abort();
                    socket->deleteLater();
                    return;
                case HandOverDecoder::State::Complete:
                    break;
            }
            socket->putChar(kAccepted);
            socket->disconnectFromServer();
            // The files are taken from the event loop, not inside the socket's signal.
            QTimer::singleShot(0, this, [this, paths = decoder->Paths()] {
                if (receiver_) {
                    receiver_(paths);
                }
            });
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A sender that stops half-way is not waited for.
        QTimer::singleShot(answerTime_, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0) {
            take();
        }
    }
}

}  // namespace sonarchive::gui
