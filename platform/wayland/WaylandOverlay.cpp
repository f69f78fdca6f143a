#include "platform/wayland/WaylandOverlay.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWindow>

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/foundation/Identity.h"
#include "platform/foundation/QtGeometry.h"
#include "platform/wayland/XkbKeys.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace vorelt {

namespace {
constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// Exclusive zones: -1 covers the panels too, 0 keeps clear of them.
constexpr int32_t kOverPanels = -1;
constexpr int32_t kClearOfPanels = 0;
// Round trips to wait for the pointer to enter a layer just shown: it enters at the first.
constexpr int kPointerRoundTrips = 3;
}  // namespace

struct WaylandOverlay::Impl {
    struct Layer {
        wl_surface* surface = nullptr;
        zwlr_layer_surface_v1* layer = nullptr;
        wp_viewport* viewport = nullptr;
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t serial = 0;
        bool configured = false;
    };
    struct OutputState {
        wl_output* output = nullptr;
        uint32_t name = 0;
        int x = 0;
        int y = 0;
        Layer catcher;
    };

    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wp_viewporter* viewporter = nullptr;
    zwlr_layer_shell_v1* shell = nullptr;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_buffer* clear = nullptr;
    std::vector<std::unique_ptr<OutputState>> outputs;
    QSocketNotifier* notifier = nullptr;
    std::optional<Point> pointerAt;
    const OutputState* pointerOn = nullptr;
    PressHandler press;
    Layer keyTaker;
    XkbKeys keys;
    QPointer<QWindow> keysTo;
    std::function<void()> keysCame;

    ~Impl();
    bool connect();
    bool alive() const { return display != nullptr && wl_display_get_error(display) == 0; }
    void readEvents();
    void roundTrip();
    void makeLayer(Layer& layer, const OutputState& output, int32_t zone, bool forKeys = false);
    static void dropLayer(Layer& layer);
    void showCatchers();
    void hideCatchers();
    void cutHoles();
    wl_buffer* clearPixel();
    Point global(const OutputState& output, wl_fixed_t x, wl_fixed_t y) const {
        return Point{output.x + wl_fixed_to_double(x), output.y + wl_fixed_to_double(y)};
    }
    const OutputState* outputOf(const wl_surface* surface) const {
        for (const auto& output : outputs) {
            if (output->catcher.surface == surface) {
                return output.get();
            }
        }
        return nullptr;
    }
};

namespace {

using Impl = WaylandOverlay::Impl;

const wl_output_listener outputListener{
    .geometry =
        [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
           const char*, int32_t) {
            auto* output = static_cast<Impl::OutputState*>(data);
            output->x = x;
            output->y = y;
        },
    .mode = [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
    // Not sent at version 1.
    .done = nullptr,
    .scale = nullptr,
    .name = nullptr,
    .description = nullptr,
};

const zwlr_layer_surface_v1_listener layerListener{
    .configure =
        [](void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width, uint32_t height) {
            auto* layer = static_cast<Impl::Layer*>(data);
            layer->serial = serial;
            layer->width = width;
            layer->height = height;
            layer->configured = true;
        },
    .closed = [](void*, zwlr_layer_surface_v1*) {},
};

const wl_pointer_listener pointerListener{
    .enter =
        [](void* data, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
            auto* d = static_cast<Impl*>(data);
            d->pointerOn = d->outputOf(surface);
            if (d->pointerOn != nullptr) {
                d->pointerAt = d->global(*d->pointerOn, x, y);
            }
        },
    .leave = [](void* data, wl_pointer*, uint32_t,
                wl_surface*) { static_cast<Impl*>(data)->pointerOn = nullptr; },
    .motion =
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
            auto* d = static_cast<Impl*>(data);
            if (d->pointerOn != nullptr) {
                d->pointerAt = d->global(*d->pointerOn, x, y);
            }
        },
    .button =
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
            auto* d = static_cast<Impl*>(data);
            if (state != WL_POINTER_BUTTON_STATE_PRESSED || !d->press || !d->pointerAt) {
                return;
            }
            const auto which = button == BTN_LEFT    ? WaylandOverlay::Button::left
                               : button == BTN_RIGHT ? WaylandOverlay::Button::right
                                                     : WaylandOverlay::Button::other;
            // Later: the handler may take the layer down under this very call.
            QMetaObject::invokeMethod(
                qGuiApp, [press = d->press, which, at = *d->pointerAt] { press(which, at); },
                Qt::QueuedConnection);
        },
    .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    // Not sent at version 1.
    .frame = nullptr,
    .axis_source = nullptr,
    .axis_stop = nullptr,
    .axis_discrete = nullptr,
    .axis_value120 = nullptr,
};

const wl_keyboard_listener keyboardListener{
    .keymap =
        [](void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
            auto* d = static_cast<Impl*>(data);
            if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
                void* text = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
                if (text != MAP_FAILED) {
                    // The text ends with a null byte, within the size.
                    d->keys.useKeymap(static_cast<const char*>(text));
                    ::munmap(text, size);
                }
            }
            ::close(fd);
        },
    .enter =
        [](void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
            auto* d = static_cast<Impl*>(data);
            if (surface == d->keyTaker.surface && d->keysCame) {
                QMetaObject::invokeMethod(qGuiApp, d->keysCame, Qt::QueuedConnection);
            }
        },
    .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    .key =
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
            auto* d = static_cast<Impl*>(data);
            if (d->keysTo != nullptr) {
                if (auto event = d->keys.event(key, state == WL_KEYBOARD_KEY_STATE_PRESSED)) {
                    QGuiApplication::postEvent(d->keysTo, event.release());
                }
            }
        },
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
           uint32_t locked, uint32_t group) {
            static_cast<Impl*>(data)->keys.setModifiers(depressed, latched, locked, group);
        },
    // Not sent at version 1.
    .repeat_info = nullptr,
};

// The pointer and the keyboard, as the seat comes to have them: asking for one it never had is
// an error that ends the connection.
const wl_seat_listener seatListener{
    .capabilities =
        [](void* data, wl_seat* seat, uint32_t capabilities) {
            auto* d = static_cast<Impl*>(data);
            const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
            if (pointer && d->pointer == nullptr) {
                d->pointer = wl_seat_get_pointer(seat);
                wl_pointer_add_listener(d->pointer, &pointerListener, d);
            } else if (!pointer && d->pointer != nullptr) {
                wl_pointer_destroy(std::exchange(d->pointer, nullptr));
                d->pointerOn = nullptr;
            }
            const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
            if (keyboard && d->keyboard == nullptr) {
                d->keyboard = wl_seat_get_keyboard(seat);
                wl_keyboard_add_listener(d->keyboard, &keyboardListener, d);
            } else if (!keyboard && d->keyboard != nullptr) {
                wl_keyboard_destroy(std::exchange(d->keyboard, nullptr));
            }
        },
    // Not sent at version 1.
    .name = nullptr,
};

const wl_registry_listener registryListener{
    .global =
        [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
            auto* d = static_cast<Impl*>(data);
            const auto is = [interface](const wl_interface& i) {
                return std::strcmp(interface, i.name) == 0;
            };
            const auto bind = [registry, name](const wl_interface& i, uint32_t version) {
                return wl_registry_bind(registry, name, &i, version);
            };
            if (is(wl_compositor_interface)) {
                d->compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 1));
            } else if (is(wl_shm_interface)) {
                d->shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
            } else if (is(wp_viewporter_interface)) {
                d->viewporter = static_cast<wp_viewporter*>(bind(wp_viewporter_interface, 1));
            } else if (is(zwlr_layer_shell_v1_interface)) {
                d->shell =
                    static_cast<zwlr_layer_shell_v1*>(bind(zwlr_layer_shell_v1_interface, 1));
            } else if (is(wl_seat_interface) && d->seat == nullptr) {
                d->seat = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
                wl_seat_add_listener(d->seat, &seatListener, d);
            } else if (is(wl_output_interface)) {
                auto output = std::make_unique<Impl::OutputState>();
                output->name = name;
                output->output = static_cast<wl_output*>(bind(wl_output_interface, 1));
                wl_output_add_listener(output->output, &outputListener, output.get());
                d->outputs.push_back(std::move(output));
            }
        },
    .global_remove =
        [](void* data, wl_registry*, uint32_t name) {
            auto* d = static_cast<Impl*>(data);
            std::erase_if(d->outputs, [d, name](const auto& output) {
                if (output->name != name) {
                    return false;
                }
                if (d->pointerOn == output.get()) {
                    d->pointerOn = nullptr;
                }
                Impl::dropLayer(output->catcher);
                wl_output_destroy(output->output);
                return true;
            });
        },
};

}  // namespace

Impl::~Impl() {
    if (display == nullptr) {
        return;
    }
    delete notifier;
    for (const auto& output : outputs) {
        dropLayer(output->catcher);
    }
    dropLayer(keyTaker);
    // The connection's end frees what the compositor keeps for it.
    wl_display_disconnect(display);
}

bool Impl::connect() {
    display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return false;
    }
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, this);
    wl_display_roundtrip(display);
    // The outputs' places.
    wl_display_roundtrip(display);
    if (compositor == nullptr || shm == nullptr || viewporter == nullptr || shell == nullptr ||
        seat == nullptr || !alive()) {
        return false;
    }
    notifier = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [this] { readEvents(); });
    wl_display_flush(display);
    return true;
}

void Impl::readEvents() {
    while (wl_display_prepare_read(display) != 0) {
        wl_display_dispatch_pending(display);
    }
    pollfd ready{wl_display_get_fd(display), POLLIN, 0};
    if (::poll(&ready, 1, 0) > 0) {
        wl_display_read_events(display);
    } else {
        wl_display_cancel_read(display);
    }
    wl_display_dispatch_pending(display);
    wl_display_flush(display);
    if (!alive()) {
        // The compositor is gone: nothing more comes.
        notifier->setEnabled(false);
    }
}

void Impl::roundTrip() {
    if (alive()) {
        wl_display_roundtrip(display);
    }
}

wl_buffer* Impl::clearPixel() {
    if (clear != nullptr) {
        return clear;
    }
    // One transparent pixel, stretched over the output by the viewport.
    const int fd = ::memfd_create((Identity::current().name + "-overlay").c_str(), MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 4) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, 4);
    clear = wl_shm_pool_create_buffer(pool, 0, 1, 1, 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    ::close(fd);
    return clear;
}

void Impl::makeLayer(Layer& layer, const OutputState& output, int32_t zone, bool forKeys) {
    layer.surface = wl_compositor_create_surface(compositor);
    layer.layer = zwlr_layer_shell_v1_get_layer_surface(shell, layer.surface, output.output,
                                                        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
                                                        Identity::current().name.c_str());
    zwlr_layer_surface_v1_add_listener(layer.layer, &layerListener, &layer);
    if (forKeys) {
        zwlr_layer_surface_v1_set_anchor(
            layer.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
        zwlr_layer_surface_v1_set_size(layer.layer, 1, 1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(layer.layer, 1);
    } else {
        zwlr_layer_surface_v1_set_anchor(layer.layer, kAllEdges);
    }
    zwlr_layer_surface_v1_set_exclusive_zone(layer.layer, zone);
    wl_surface_commit(layer.surface);
}

void Impl::dropLayer(Layer& layer) {
    if (layer.viewport != nullptr) {
        wp_viewport_destroy(layer.viewport);
    }
    if (layer.layer != nullptr) {
        zwlr_layer_surface_v1_destroy(layer.layer);
    }
    if (layer.surface != nullptr) {
        wl_surface_destroy(layer.surface);
    }
    layer = Layer{};
}

void Impl::showCatchers() {
    bool added = false;
    for (const auto& output : outputs) {
        if (output->catcher.surface == nullptr) {
            makeLayer(output->catcher, *output, kOverPanels);
            added = true;
        }
    }
    if (!added) {
        return;
    }
    roundTrip();
    wl_buffer* pixel = clearPixel();
    for (const auto& output : outputs) {
        Layer& catcher = output->catcher;
        if (!catcher.configured || catcher.viewport != nullptr || pixel == nullptr) {
            continue;
        }
        zwlr_layer_surface_v1_ack_configure(catcher.layer, catcher.serial);
        catcher.viewport = wp_viewporter_get_viewport(viewporter, catcher.surface);
        wp_viewport_set_destination(catcher.viewport, static_cast<int32_t>(catcher.width),
                                    static_cast<int32_t>(catcher.height));
        wl_surface_attach(catcher.surface, pixel, 0, 0);
        wl_surface_commit(catcher.surface);
    }
    wl_display_flush(display);
}

void Impl::hideCatchers() {
    for (const auto& output : outputs) {
        dropLayer(output->catcher);
    }
    pointerOn = nullptr;
    if (alive()) {
        wl_display_flush(display);
    }
}

// The program's own windows take their presses themselves.
void Impl::cutHoles() {
    for (const auto& output : outputs) {
        const Layer& catcher = output->catcher;
        if (catcher.viewport == nullptr) {
            continue;
        }
        wl_region* region = wl_compositor_create_region(compositor);
        wl_region_add(region, 0, 0, static_cast<int32_t>(catcher.width),
                      static_cast<int32_t>(catcher.height));
        for (const QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible()) {
                const QRect frame = window->frameGeometry();
                wl_region_subtract(region, frame.x() - output->x, frame.y() - output->y,
                                   frame.width(), frame.height());
            }
        }
        wl_surface_set_input_region(catcher.surface, region);
        wl_region_destroy(region);
        wl_surface_commit(catcher.surface);
    }
    wl_display_flush(display);
}

WaylandOverlay* WaylandOverlay::instance() {
    static WaylandOverlay* overlay = []() -> WaylandOverlay* {
        if (qGuiApp == nullptr || QGuiApplication::platformName() != "xcb" ||
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            return nullptr;
        }
        auto impl = std::make_unique<Impl>();
        if (!impl->connect()) {
            return nullptr;
        }
        return new WaylandOverlay(std::move(impl));
    }();
    return overlay;
}

WaylandOverlay::WaylandOverlay(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

WaylandOverlay::~WaylandOverlay() = default;

std::optional<Point> WaylandOverlay::pointer() {
    if (!d->alive()) {
        return std::nullopt;
    }
    const bool shown = std::any_of(d->outputs.begin(), d->outputs.end(),
                                   [](const auto& output) { return output->catcher.viewport; });
    d->pointerAt.reset();
    d->showCatchers();
    for (int i = 0; i < kPointerRoundTrips && !d->pointerAt; ++i) {
        d->roundTrip();
    }
    const std::optional<Point> at = d->pointerAt;
    if (!shown) {
        d->hideCatchers();
    }
    return at;
}

std::vector<WaylandOverlay::Output> WaylandOverlay::outputs(std::optional<Point> near) {
    std::vector<Output> all;
    if (!d->alive()) {
        return all;
    }
    // Two layers that are never shown: the compositor sizes one to the whole output, the other
    // to what its panels leave free.
    std::vector<std::pair<Impl::Layer, Impl::Layer>> probes(d->outputs.size());
    for (std::size_t i = 0; i < probes.size(); ++i) {
        d->makeLayer(probes[i].first, *d->outputs[i], kOverPanels);
        d->makeLayer(probes[i].second, *d->outputs[i], kClearOfPanels);
    }
    d->roundTrip();
    for (std::size_t i = 0; i < probes.size(); ++i) {
        auto& [whole, free] = probes[i];
        if (whole.configured && free.configured) {
            const Rect frame{static_cast<double>(d->outputs[i]->x),
                             static_cast<double>(d->outputs[i]->y),
                             static_cast<double>(whole.width), static_cast<double>(whole.height)};
            const bool on = near && near->x >= frame.x && near->x < frame.x + frame.width &&
                            near->y >= frame.y && near->y < frame.y + frame.height;
            // The free part starts past a strip at the top (left), and at the output's edge when
            // the strip is at the bottom (right).
            const bool stripBelow = on && near->y >= frame.y + frame.height / 2;
            const bool stripRight = on && near->x >= frame.x + frame.width / 2;
            const double width = free.width;
            const double height = free.height;
            const Rect area{stripRight ? frame.x : frame.x + frame.width - width,
                            stripBelow ? frame.y : frame.y + frame.height - height, width, height};
            all.push_back(Output{frame, area});
        }
        Impl::dropLayer(whole);
        Impl::dropLayer(free);
    }
    wl_display_flush(d->display);
    return all;
}

void WaylandOverlay::startCatching(PressHandler press) {
    if (!d->alive()) {
        return;
    }
    d->press = std::move(press);
    d->showCatchers();
    d->cutHoles();
}

void WaylandOverlay::stopCatching() {
    d->press = nullptr;
    d->hideCatchers();
}

void WaylandOverlay::sendKeysTo(QWindow* window, std::function<void()> came) {
    d->keysTo = window;
    d->keysCame = std::move(came);
    if (!d->alive() || d->outputs.empty() || d->keyTaker.surface != nullptr) {
        return;
    }
    Impl::Layer& taker = d->keyTaker;
    d->makeLayer(taker, *d->outputs.front(), kClearOfPanels, true);
    d->roundTrip();
    wl_buffer* pixel = d->clearPixel();
    if (!taker.configured || pixel == nullptr) {
        Impl::dropLayer(taker);
        return;
    }
    zwlr_layer_surface_v1_ack_configure(taker.layer, taker.serial);
    // The pointer goes through it.
    wl_region* nothing = wl_compositor_create_region(d->compositor);
    wl_surface_set_input_region(taker.surface, nothing);
    wl_region_destroy(nothing);
    wl_surface_attach(taker.surface, pixel, 0, 0);
    wl_surface_commit(taker.surface);
    wl_display_flush(d->display);
}

void WaylandOverlay::stopSendingKeys() {
    d->keysTo = nullptr;
    d->keysCame = nullptr;
    Impl::dropLayer(d->keyTaker);
    if (d->alive()) {
        wl_display_flush(d->display);
    }
}

}  // namespace vorelt
