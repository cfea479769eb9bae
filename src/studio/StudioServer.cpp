#include "studio/StudioServer.h"

#include <fstream>
#include <sstream>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "base/CodePage.h"
#include "base/Errors.h"
#include "maker/Manifest.h"
#include "maker/ToolError.h"
#include "studio/ManifestJson.h"
#include "studio/ShowPreview.h"
#include "studio/StudioGuard.h"
#include "studio/StudioProject.h"
#include "studio/StyleStrips.h"
#include "studio/WebAssets.h"

namespace pixvane::studio {
namespace {

namespace fs = std::filesystem;
using httplib::Request;
using httplib::Response;
using nlohmann::json;

// A request longer than this is refused from its Content-Length, before its
// body is read; a file of an upload is refused as soon as it passes its own
// limit, so at most one file is held at a time.
constexpr size_t MaxRequestBytes = 512u << 20;  // a handful of large photos at once
constexpr size_t MaxUploadBytes = 200u << 20;   // one file
constexpr int PreviewWaitMs = 5000;
constexpr size_t RequestThreads = 32;

std::string ContentType(const std::string& name) {
  static const std::pair<const char*, const char*> types[] = {
      {".html", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".svg", "image/svg+xml"},
      {".jpg", "image/jpeg"},
      {".jpeg", "image/jpeg"},
      {".png", "image/png"},
      {".wav", "audio/wav"},
      {".mp3", "audio/mpeg"},
      {".toml", "text/plain; charset=utf-8"}};
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [extension, type] : types)
    if (lower.size() >= std::strlen(extension) &&
        lower.compare(lower.size() - std::strlen(extension), std::string::npos, extension) == 0)
      return type;
  return "application/octet-stream";
}

void SendJson(Response& res, const json& body, int status = 200) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void Refuse(Response& res, int status, const std::string& problem) {
  SendJson(res, {{"problem", problem}}, status);
}

json Body(const Request& req) {
  return json::parse(req.body);  // json::parse_error ends as a 400
}

// Runs a handler, turning what the request did wrong into a 4xx with the
// tool's message, so one bad request never stops the server.
httplib::Server::Handler Guarded(std::function<void(const Request&, Response&)> handler) {
  return [handler](const Request& req, Response& res) {
    try {
      handler(req, res);
    } catch (const maker::EToolError& e) {
      Refuse(res, 400, e.what());
    } catch (const json::exception& e) {
      Refuse(res, 400, std::string("not the JSON expected: ") + e.what());
    } catch (const EError& e) {
      Refuse(res, 400, e.what());
    } catch (const std::exception& e) {
      Refuse(res, 500, e.what());
    }
  };
}

bool IsChange(const Request& req) {
  return req.method != "GET" && req.method != "HEAD";
}

// The listening socket is ours alone: no other program may bind the port
// beside us and take half the requests. Windows shares a port with any
// socket that asks for SO_REUSEADDR unless it is exclusive; Linux never lets
// SO_REUSEADDR share a listening port (only SO_REUSEPORT does, which we
// leave off), and it lets the studio start again at once on the same port.
void ExclusiveSocket(socket_t socket) {
  int yes = 1;
#ifdef _WIN32
  setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
             sizeof yes);
#else
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
}

}  // namespace

TStudioServer::TStudioServer(TStudioProject& project, std::string token)
    : FProject(project),
      FToken(std::move(token)),
      FServer(std::make_unique<httplib::Server>()),
      FStrips(std::make_unique<TStyleStrips>()) {
  FScratch = fs::temp_directory_path() / ("pixvane-studio-" + FToken);
  fs::create_directories(FScratch);
  FPreview = std::make_unique<TShowPreview>(FProject.Player(), FScratch);
  Route();
}

TStudioServer::~TStudioServer() {
  Stop();
  FPreview.reset();
  std::error_code ignored;
  fs::remove_all(FScratch, ignored);
}

int TStudioServer::Bind(int port) {
  bool bound = port == 0 ? (FPort = FServer->bind_to_any_port("127.0.0.1")) > 0
                         : FServer->bind_to_port("127.0.0.1", port);
  if (!bound)
    throw maker::EToolError("cannot listen on 127.0.0.1 port " + std::to_string(port) +
                            ": it is in use (another studio?); give another --port, or "
                            "none for a free one");
  if (port != 0) FPort = port;
  return FPort;
}

void TStudioServer::Serve() {
  FServer->listen_after_bind();
}

void TStudioServer::Stop() {
  FServer->stop();
  if (FPreview) FPreview->Stop();
}

// The files of a multipart upload arrive one by one; each is stored once it
// is whole, and reading stops at the first that passes the limit.
void TStudioServer::Upload(const Request& req, Response& res,
                           const httplib::ContentReader& reader) {
  std::string to = req.get_param_value("to");
  if (to != "pictures" && to != "music") return Refuse(res, 400, "upload to what?");
  if (!req.is_multipart_form_data()) return Refuse(res, 400, "not a form of files");
  json names = json::array(), problems = json::array();
  httplib::MultipartFormData file;
  bool tooLarge = false;
  auto store = [&] {
    if (file.filename.empty()) return;
    try {
      names.push_back(FProject.AddFile(to, file.filename, file.content));
    } catch (const std::exception& e) {  // the tool's refusals and a full disk alike
      problems.push_back(e.what());
    }
    file = {};
  };
  bool read = reader(
      [&](const httplib::MultipartFormData& header) {
        store();
        file = header;
        return true;
      },
      [&](const char* data, size_t length) {
        if (file.content.size() + length > MaxUploadBytes) {
          problems.push_back(ValidUtf8(file.filename) + ": larger than 200 MB");
          tooLarge = true;
          return false;
        }
        file.content.append(data, length);
        return true;
      });
  if (read) store();
  if (!read && !tooLarge) problems.push_back("the upload was cut short");
  // The rest of a body cut short is still on its way: no request follows it.
  if (!read) res.set_header("Connection", "close");
  int status = tooLarge ? 413 : names.empty() && !problems.empty() ? 400 : 200;
  SendJson(res, {{"added", names}, {"problems", problems}}, status);
}

std::string TStudioServer::Address() const {
  return "http://127.0.0.1:" + std::to_string(FPort) + "/t/" + FToken + "/";
}

void TStudioServer::Route() {
  httplib::Server& s = *FServer;
  s.set_payload_max_length(MaxRequestBytes);
  s.set_socket_options(ExclusiveSocket);
  // A browser keeps several connections open and the preview waits for
  // frames, so the library's default of eight threads would leave the
  // page's other requests queueing behind them.
  s.new_task_queue = [] { return new httplib::ThreadPool(RequestThreads); };
  // Every request passes here first: the loopback Host header (against DNS
  // rebinding) and the token, in the path and, for changes, in a header.
  s.set_pre_routing_handler([this](const Request& req, Response& res) {
    const std::string prefix = "/t/" + FToken + "/";
    bool allowed = HostAllowed(req.get_header_value("Host"), FPort) &&
                   TokensMatch(req.path.substr(0, prefix.size()), prefix) &&
                   (!IsChange(req) || TokensMatch(req.get_header_value("X-Pixvane-Token"), FToken));
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Content-Security-Policy",
                   "default-src 'self'; img-src 'self' blob:; frame-ancestors 'none'");
    if (!allowed) {
      Refuse(res, 403, "forbidden");
      return httplib::Server::HandlerResponse::Handled;
    }
    // Answered before any of the body is read: the library would otherwise
    // read all of it, however large, to skip it. The connection is closed
    // after the answer, as the unread body cannot be told from a request.
    if (req.get_header_value<uint64_t>("Content-Length") > MaxRequestBytes) {
      res.set_header("Connection", "close");
      Refuse(res, 413, "larger than 512 MB in one go");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  s.set_error_handler([](const Request&, Response& res) {
    if (res.body.empty()) Refuse(res, res.status, "no such thing here");
  });
  const std::string p = "/t/[0-9a-f]+/";

  s.Get(p + "(|[a-z]+\\.(?:html|js|css|svg))", [](const Request& req, Response& res) {
    std::string name = req.matches[1].str();
    const TWebAsset* asset = FindWebAsset(name.empty() ? "index.html" : name);
    if (!asset) return Refuse(res, 404, "no such file");
    res.set_content(std::string(asset->Bytes), ContentType(std::string(asset->Name)).c_str());
  });
  s.Get(p + "api/project",
        Guarded([this](const Request&, Response& res) { SendJson(res, FProject.Load()); }));
  s.Post(p + "api/check", Guarded([this](const Request& req, Response& res) {
           SendJson(res, FProject.Check(Body(req)));
         }));
  s.Post(p + "api/save", Guarded([this](const Request& req, Response& res) {
           FProject.Save(Body(req));
           SendJson(res, FProject.Load());
         }));
  s.Post(p + "api/upload",
         [this](const Request& req, Response& res, const httplib::ContentReader& reader) {
           Upload(req, res, reader);
         });
  s.Post(p + "api/build", Guarded([this](const Request& req, Response& res) {
           if (!FProject.StartBuild(Body(req))) return Refuse(res, 409, "a build is running");
           SendJson(res, FProject.BuildState(), 202);
         }));
  // The saver and then its setup program, on the build's thread and state.
  s.Post(p + "api/installer", Guarded([this](const Request& req, Response& res) {
           if (!FProject.StartBuild(Body(req), true)) return Refuse(res, 409, "a build is running");
           SendJson(res, FProject.BuildState(), 202);
         }));
  s.Get(p + "api/build",
        Guarded([this](const Request&, Response& res) { SendJson(res, FProject.BuildState()); }));
  s.Post(p + "api/preview", Guarded([this](const Request& req, Response& res) {
           json body = Body(req);
           maker::TManifest manifest = FProject.Parse(body.at("manifest"));
           int run =
               FPreview->Start(manifest, body.at("width").get<int>(), body.at("height").get<int>());
           SendJson(res, {{"run", run}});
         }));
  s.Get(p + "preview/([0-9]{1,9})/([0-9]{1,9})", [this](const Request& req, Response& res) {
    TShowPreview::TFrame frame;
    std::string problem;
    switch (FPreview->Wait(std::stoi(req.matches[1]), std::stoul(req.matches[2]), frame,
                           PreviewWaitMs, problem)) {
      case TShowPreview::TWait::Frame:
        res.set_header("X-At-Ms", std::to_string(frame.AtMs));
        return res.set_content(std::move(frame.Jpeg), "image/jpeg");
      case TShowPreview::TWait::Pending:
        return Refuse(res, 408, "not rendered yet");
      case TShowPreview::TWait::Ended:
        return Refuse(res, 404, "the preview has ended");
      case TShowPreview::TWait::Replaced:
        return Refuse(res, 410, "a newer preview runs");
      case TShowPreview::TWait::Failed:
        return Refuse(res, 422, problem);
    }
  });
  s.Get(p + "style/([0-9]{1,3})\\.jpg", [this](const Request& req, Response& res) {
    std::string strip = FStrips->Strip(std::stoi(req.matches[1]));
    if (strip.empty()) return Refuse(res, 404, "no such style");
    res.set_header("Cache-Control", "private, max-age=3600");
    res.set_content(std::move(strip), "image/jpeg");
  });
  s.Get(p + "file/(.+)", [this](const Request& req, Response& res) {
    std::optional<fs::path> path = PathInside(FProject.Folder(), req.matches[1].str());
    if (!path || !ResolvesInside(FProject.Folder(), *path))
      return Refuse(res, 400, "not a file of this project");
    std::error_code error;
    if (!fs::is_regular_file(*path, error)) return Refuse(res, 404, "no such file");
    std::ifstream in(*path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    res.set_content(bytes.str(), ContentType(req.matches[1].str()).c_str());
  });
}

}  // namespace pixvane::studio
