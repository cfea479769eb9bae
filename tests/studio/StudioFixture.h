#pragma once
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "studio/StudioProject.h"
#include "studio/StudioServer.h"
#include "support/ToolTestFiles.h"

namespace pixvane::test {

// A studio serving a fresh project folder on a free port, with a client
// that talks to it as the page does: the token in the path and header.
class TStudioFixture {
 public:
  TStudioFixture()
      : Player(Folder.Write("player.scr", MakePlayerStandIn())),
        Project(std::make_unique<studio::TStudioProject>(Folder / "project", Player)),
        Server(std::make_unique<studio::TStudioServer>(*Project, Token)),
        Port(Server->Bind(0)),
        Serving([this] { Server->Serve(); }),
        Client("127.0.0.1", Port) {
    Client.set_read_timeout(30, 0);
    while (!Client.Get("/")) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~TStudioFixture() {
    Server->Stop();
    Serving.join();
  }

  std::string Path(const std::string& rest) const { return "/t/" + Token + "/" + rest; }
  httplib::Headers Changing() const { return {{"X-Pixvane-Token", Token}}; }
  httplib::Result Post(const std::string& rest, const nlohmann::json& body) {
    return Client.Post(Path(rest).c_str(), Changing(), body.dump(), "application/json");
  }
  nlohmann::json Json(const httplib::Result& result) const {
    return nlohmann::json::parse(result->body);
  }

  const std::string Token = "0123456789abcdef0123456789abcdef";
  TToolFolder Folder;
  std::filesystem::path Player;
  std::unique_ptr<studio::TStudioProject> Project;
  std::unique_ptr<studio::TStudioServer> Server;
  int Port;
  std::thread Serving;
  httplib::Client Client;
};

}  // namespace pixvane::test
