#pragma once
// A small HTTP server on 127.0.0.1 for one test. It serves from a thread of its
// own, notes every request line, and stops when it is destroyed or when its
// lifetime is up, whichever comes first. It never listens beyond loopback.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "host/win32_owners.h"

class LoopbackHttpServer {
public:
  enum class Reply {
    NotFound,  // answers every request with an empty 404 and closes
    Hold,      // reads the request and keeps the connection open, unanswered
  };
  // Runs on the server's thread as soon as a request's head has arrived.
  using OnRequest = std::function<void(const std::string& request_line)>;

  // Port 0 takes any free port.
  LoopbackHttpServer(unsigned short port, Reply reply, OnRequest on_request = {},
                     DWORD lifetime_ms = 60000);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  bool Listening() const { return thread_.get() != nullptr; }
  unsigned short Port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by `path`.
  std::string Url(const std::string& path) const;

  // The request lines so far, such as "GET /ad/hezuo.htm HTTP/1.1".
  std::vector<std::string> Requests() const;
  // Whether a GET for `path` arrives within the time, the ones so far included.
  bool WaitForGet(const std::string& path, DWORD timeout_ms) const;

private:
  static DWORD WINAPI ThreadMain(void* self);
  void Serve();
  void Record(const std::string& line);

  const Reply reply_;
  const OnRequest on_request_;
  const DWORD lifetime_ms_;
  bool winsock_ = false;
  UINT_PTR listener_;  // a SOCKET; winsock stays out of this header
  unsigned short port_ = 0;
  mutable CRITICAL_SECTION lock_;
  std::vector<std::string> requests_;
  OwnedHandle stop_, arrived_;
  OwnedHandle thread_;  // last: started once everything it uses exists
};
