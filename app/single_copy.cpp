#include "app/single_copy.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "raised\n";

std::atomic<int> listening{-1};
std::string socketFile;

bool Address(const std::string& identity, sockaddr_un* address, socklen_t* length) {
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    const std::string name = RaiseChannelName(identity);
    if (name.size() >= sizeof address->sun_path) return false;
    std::memcpy(address->sun_path, name.data(), name.size());  // an abstract name starts with NUL
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size() +
                                     (name[0] == '\0' ? 0 : 1));
    return true;
}

void Serve(int server, void (*raise)()) {
    for (;;) {
        int client = accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;  // closed: the program is ending
        }
        // Only this user's programs may ask (the abstract namespace is open to everyone).
        ucred peer{};
        socklen_t size = sizeof peer;
        char request[sizeof kRequest] = {};
        timeval wait{2, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        if (getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
            (peer.uid == getuid() || peer.uid == 0) &&
            recv(client, request, sizeof request - 1, MSG_WAITALL) ==
                static_cast<ssize_t>(sizeof kRequest - 1) &&
            std::strcmp(request, kRequest) == 0) {
            raise();
            send(client, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
        }
        close(client);
    }
}

}  // namespace

std::string RaiseChannelName(const std::string& identity) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    if (runtime && runtime[0] == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == getuid()) {
        std::string file = std::string(runtime) + "/velquin-" + identity + ".socket";
        if (file.size() < sizeof(sockaddr_un::sun_path)) return file;
    }
    return std::string(1, '\0') + "velquin-" + std::to_string(getuid()) + "-" + identity;
}

bool AskRunningCopyToRaise(const std::string& identity) {
    if (identity.empty()) return false;
    sockaddr_un address;
    socklen_t length;
    if (!Address(identity, &address, &length)) return false;
    // A copy that has only just taken the store may not listen yet: it is given a moment.
    int fd = -1;
    for (int tries = 0; tries < 40 && fd < 0; ++tries) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) break;
        const bool notYet = errno == ECONNREFUSED || errno == ENOENT;
        close(fd);
        fd = -1;
        if (!notYet) return false;
        usleep(50 * 1000);
    }
    if (fd < 0) return false;
    timeval wait{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    char answer[sizeof kAnswer] = {};
    const bool raised = send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) ==
                            static_cast<ssize_t>(sizeof kRequest - 1) &&
                        recv(fd, answer, sizeof answer - 1, MSG_WAITALL) ==
                            static_cast<ssize_t>(sizeof kAnswer - 1) &&
                        std::strcmp(answer, kAnswer) == 0;
    close(fd);
    return raised;
}

bool ListenForRaiseRequests(const std::string& identity, void (*raise)()) {
    if (identity.empty()) return false;
    sockaddr_un address;
    socklen_t length;
    if (!Address(identity, &address, &length)) return false;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The caller holds the store's lock, so a socket file of this name is a dead copy's.
    if (address.sun_path[0] != '\0') {
        socketFile = address.sun_path;
        unlink(socketFile.c_str());
    }
    const mode_t mask = umask(077);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    umask(mask);
    if (!bound || listen(fd, 4) != 0) {
        close(fd);
        socketFile.clear();
        return false;
    }
    listening = fd;
    std::thread(Serve, fd, raise).detach();
    return true;
}

void StopListeningForRaiseRequests() {
    int fd = listening.exchange(-1);
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
    if (!socketFile.empty()) unlink(socketFile.c_str());
    socketFile.clear();
}
