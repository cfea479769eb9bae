#pragma once
#include <filesystem>
#include <memory>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
}  // namespace httplib

namespace pixvane::studio {

class TStudioProject;
class TShowPreview;
class TStyleStrips;

// The studio's web server: the page and a JSON API over the project, on
// the loopback address only. Every request must carry the run's token as
// the first part of its path (/t/TOKEN/...) and a loopback Host header;
// requests that change anything carry it again in the X-Pixvane-Token
// header, which no other web page can add to a request it makes.
//
// Threads: made, bound and destroyed on one thread. Serve runs the server
// on the thread that calls it, and the requests are answered on a pool of
// threads, many at once: the project, the preview and the strips they use
// take calls from any thread. Stop may come from any thread.
class TStudioServer {
 public:
  TStudioServer(TStudioProject& project, std::string token);
  ~TStudioServer();

  // Binds to 127.0.0.1 on port, or on a free port when 0; returns the
  // port. Fails with EToolError when the port is taken.
  int Bind(int port);
  // Serves until Stop (from any thread).
  void Serve();
  void Stop();

  // The address to open: http://127.0.0.1:PORT/t/TOKEN/
  std::string Address() const;
  const std::string& Token() const { return FToken; }

 private:
  void Route();
  void Upload(const httplib::Request& req, httplib::Response& res,
              const httplib::ContentReader& reader);

  TStudioProject& FProject;
  std::string FToken;
  int FPort = 0;
  std::filesystem::path FScratch;
  std::unique_ptr<httplib::Server> FServer;
  std::unique_ptr<TShowPreview> FPreview;
  std::unique_ptr<TStyleStrips> FStrips;
};

}  // namespace pixvane::studio
