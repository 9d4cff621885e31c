// A pointer for a headless seat, which has none until a client adds one:
// `twk3-test-pointer WIDTH HEIGHT` adds it to the seat, says "ready", then reads commands
// from its input, one a line, and answers each with "done" once the compositor has it:
// "move X Y" (a place of the WIDTH x HEIGHT layout), "click BUTTON" (a Linux button code:
// 272 left, 273 right). It ends at the end of its input.

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void globalRemoved(void*, wl_registry*, uint32_t)
{
}

uint32_t now()
{
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: twk3-test-pointer WIDTH HEIGHT\n";
        return 2;
    }
    const uint32_t width = std::stoul(argv[1]);
    const uint32_t height = std::stoul(argv[2]);
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::cerr << "twk3-test-pointer: no Wayland display\n";
        return 1;
    }
    Globals globals;
    static const wl_registry_listener listener{global, globalRemoved};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager) {
        std::cerr << "twk3-test-pointer: the compositor offers no virtual pointer\n";
        return 1;
    }
    auto* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    if (wl_display_roundtrip(display) < 0)
        return 1;
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string command;
        uint32_t a = 0;
        uint32_t b = 0;
        words >> command >> a >> b;
        if (command == "move") {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), a, b, width, height);
        } else if (command == "click") {
            zwlr_virtual_pointer_v1_button(pointer, now(), a, WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, now(), a, WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            std::cerr << "twk3-test-pointer: unknown command " << command << "\n";
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        std::cout << "done" << std::endl;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
