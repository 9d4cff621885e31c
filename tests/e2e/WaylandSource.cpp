// A Wayland application's copy that offers several formats at once, as a browser or a
// password manager does: `twk3-test-source [--count FILE] TYPE=FILE...` serves each
// file's bytes as its type, says "ready" once the clipboard holds them, and ends when
// another content takes their place (or when it is killed). With --count it appends the
// name of every type it served to FILE. `twk3-test-source --watch FILE` offers nothing:
// it appends a line to FILE at every change of the clipboard, its types or "empty".

#include "wayland/DataControl.h"
#include "wayland/Transfers.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

using namespace twk::wayland;

namespace {

class Source final : public DataControl::Listener {
public:
    std::map<std::string, std::string> data;
    std::string countFile;
    bool replaced = false;

    std::string watchFile;

    void selection(std::shared_ptr<Offer> offer) override
    {
        if (watchFile.empty())
            return;
        std::ofstream watch(watchFile, std::ios::app);
        if (!offer)
            watch << "empty";
        for (const auto& type : offer ? offer->types : std::vector<std::string>{})
            watch << type << ' ';
        watch << std::endl;
    }
    void send(wl_proxy*, const char* type, int fd) override
    {
        if (!countFile.empty())
            std::ofstream(countFile, std::ios::app) << type << '\n';
        const auto found = data.find(type);
        if (found == data.end())
            close(fd);
        else
            SendNow(fd, found->second, std::chrono::seconds(3));
    }
    void cancelled(wl_proxy*) override { replaced = true; }
};

} // namespace

int main(int argc, char** argv)
{
    Source source;
    std::vector<std::string> types;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--count" && i + 1 < argc) {
            source.countFile = argv[++i];
            continue;
        }
        if (argument == "--watch" && i + 1 < argc) {
            source.watchFile = argv[++i];
            continue;
        }
        const auto equals = argument.rfind('=');
        if (equals == std::string::npos) {
            std::cerr << "usage: twk3-test-source [--count FILE] TYPE=FILE... | --watch FILE\n";
            return 2;
        }
        std::ifstream file(argument.substr(equals + 1), std::ios::binary);
        types.push_back(argument.substr(0, equals));
        source.data[types.back()] = std::string(std::istreambuf_iterator<char>(file), {});
    }
    auto control = DataControl::connect();
    if (!control) {
        std::cerr << "twk3-test-source: no data-control on this display\n";
        return 1;
    }
    control->listen(source);
    if (!source.watchFile.empty()) {
        while (control->wait({}, -1)) {
        }
        return 0;
    }
    control->setSelection(control->makeSource(types));
    if (!control->roundTrip())
        return 1;
    std::cout << "ready" << std::endl;
    while (!source.replaced && control->wait({}, -1)) {
    }
    return 0;
}
