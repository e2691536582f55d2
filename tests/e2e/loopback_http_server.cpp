#include <winsock2.h>

#include "loopback_http_server.h"

#include <algorithm>

namespace {

struct Connection {
  SOCKET socket;
  std::string received;
  bool headed;
};

constexpr char kNotFound[] = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

bool IsGetOf(const std::string& line, const std::string& path) {
  const std::string wanted = "GET " + path + " ";
  return line.compare(0, wanted.size(), wanted) == 0;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(unsigned short port, Reply reply, OnRequest on_request,
                                       DWORD lifetime_ms)
    : reply_(reply),
      on_request_(std::move(on_request)),
      lifetime_ms_(lifetime_ms),
      listener_(INVALID_SOCKET),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      arrived_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  InitializeCriticalSection(&lock_);
  WSADATA data;
  winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsock_ || !stop_ || !arrived_) return;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  int length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 8) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
}

LoopbackHttpServer::~LoopbackHttpServer() {
  if (thread_) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (winsock_) WSACleanup();
  DeleteCriticalSection(&lock_);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  EnterCriticalSection(&lock_);
  std::vector<std::string> copy = requests_;
  LeaveCriticalSection(&lock_);
  return copy;
}

bool LoopbackHttpServer::WaitForGet(const std::string& path, DWORD timeout_ms) const {
  const DWORD start = GetTickCount();
  for (;;) {
    for (const std::string& line : Requests())
      if (IsGetOf(line, path)) return true;
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeout_ms) return false;
    // Each request sets the event once; a short wait lets a later one in too.
    WaitForSingleObject(arrived_.get(), std::min<DWORD>(timeout_ms - waited, 20));
  }
}

void LoopbackHttpServer::Record(const std::string& line) {
  if (on_request_) on_request_(line);
  EnterCriticalSection(&lock_);
  requests_.push_back(line);
  LeaveCriticalSection(&lock_);
  SetEvent(arrived_.get());
}

DWORD WINAPI LoopbackHttpServer::ThreadMain(void* self) {
  static_cast<LoopbackHttpServer*>(self)->Serve();
  return 0;
}

void LoopbackHttpServer::Serve() {
  const DWORD start = GetTickCount();
  std::vector<Connection> open;
  while (WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT &&
         GetTickCount() - start < lifetime_ms_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    for (const Connection& c : open) FD_SET(c.socket, &readable);
    timeval tick{0, 50 * 1000};  // how soon a stop is noticed
    if (select(0, &readable, nullptr, nullptr, &tick) <= 0) continue;
    if (FD_ISSET(listener_, &readable) && open.size() + 1 < FD_SETSIZE) {
      const SOCKET s = accept(listener_, nullptr, nullptr);
      if (s != INVALID_SOCKET) open.push_back({s, {}, false});
    }
    for (auto c = open.begin(); c != open.end();) {
      bool done = false;
      if (FD_ISSET(c->socket, &readable)) {
        char buffer[2048];
        const int n = recv(c->socket, buffer, sizeof buffer, 0);
        done = n <= 0;
        if (n > 0 && !c->headed) {
          c->received.append(buffer, static_cast<std::size_t>(n));
          if (c->received.find("\r\n\r\n") != std::string::npos) {
            c->headed = true;
            Record(c->received.substr(0, c->received.find("\r\n")));
            if (reply_ == Reply::NotFound) {
              send(c->socket, kNotFound, static_cast<int>(sizeof kNotFound - 1), 0);
              done = true;
            }
          }
        }
      }
      if (done) {
        closesocket(c->socket);
        c = open.erase(c);
      } else {
        ++c;
      }
    }
  }
  for (const Connection& c : open) closesocket(c.socket);
}
