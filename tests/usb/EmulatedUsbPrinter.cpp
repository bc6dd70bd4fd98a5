#include "tests/usb/EmulatedUsbPrinter.h"

#include <umockdev.h>

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace testing_support {
namespace {

void appendWord(std::string* bytes, unsigned value)
{
    *bytes += static_cast<char>(value & 0xff);
    *bytes += static_cast<char>((value >> 8) & 0xff);
}

std::string hexText(const std::string& bytes)
{
    std::string text;
    for (unsigned char byte : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

// A resolved piece of the client's memory, given back when it goes.
class ClientMemory {
public:
    ClientMemory(UMockdevIoctlData* parent, std::size_t offset, std::size_t length)
        : data_(umockdev_ioctl_data_resolve(parent, offset, length, nullptr))
    {
    }
    ~ClientMemory()
    {
        if (data_)
            g_object_unref(data_);
    }
    ClientMemory(const ClientMemory&) = delete;
    ClientMemory& operator=(const ClientMemory&) = delete;
    UMockdevIoctlData* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }
    template <typename T>
    T* as() const
    {
        return reinterpret_cast<T*>(data_->data);
    }

private:
    UMockdevIoctlData* data_;
};

} // namespace

std::string usbDescriptorsOf(const SimulatedDevice& device)
{
    std::string descriptors;
    // Device descriptor: USB 2.0, class given per interface, one configuration.
    descriptors += std::string("\x12\x01\x00\x02\x00\x00\x00\x40", 8);
    appendWord(&descriptors, static_cast<unsigned>(device.vendorId.value_or(0)));
    appendWord(&descriptors, static_cast<unsigned>(device.productId.value_or(0)));
    descriptors += std::string("\x00\x01\x01\x02\x03\x01", 6);

    std::string interfaces;
    for (const auto& interface : device.interfaces) {
        for (std::size_t alternate = 0; alternate < interface.alternateSettings.size(); ++alternate) {
            const auto& endpoints = interface.alternateSettings[alternate];
            interfaces += std::string{9,
                                      4,
                                      static_cast<char>(interface.number),
                                      static_cast<char>(alternate),
                                      static_cast<char>(endpoints.size()),
                                      static_cast<char>(interface.interfaceClass),
                                      1,
                                      2,
                                      0};
            for (const auto& endpoint : endpoints) {
                interfaces +=
                    std::string{7, 5, static_cast<char>(endpoint.address), static_cast<char>(endpoint.transferType)};
                appendWord(&interfaces, 64);
                interfaces += static_cast<char>(endpoint.transferType == platform::USB_TRANSFER_INTERRUPT ? 1 : 0);
            }
        }
    }
    std::string configuration = std::string("\x09\x02", 2);
    appendWord(&configuration, static_cast<unsigned>(9 + interfaces.size()));
    configuration += static_cast<char>(device.interfaces.size());
    configuration += std::string("\x01\x00\xc0\x32", 4);
    return descriptors + configuration + interfaces;
}

struct EmulatedUsbPrinter::Urb {
    UMockdevIoctlData* data = nullptr; // our reference to the client's URB
    unsigned long clientAddress = 0;
    bool in = false;
    bool done = false;
    int status = 0;
    int length = 0;
    std::optional<std::string> answer;
};

EmulatedUsbPrinter::EmulatedUsbPrinter(std::string deviceNode)
    : deviceNode_(std::move(deviceNode)),
      handler_(umockdev_ioctl_base_new())
{
    g_signal_connect_after(handler_, "handle-ioctl", G_CALLBACK(&EmulatedUsbPrinter::handleIoctl), this);
}

EmulatedUsbPrinter::~EmulatedUsbPrinter()
{
    for (auto& urb : urbs_)
        g_object_unref(urb->data);
    g_object_unref(handler_);
}

void EmulatedUsbPrinter::setBusyClaims(int claims)
{
    std::lock_guard lock(mutex_);
    busyClaims_ = claims;
}

void EmulatedUsbPrinter::setDisconnectAfterWrites(int writes)
{
    std::lock_guard lock(mutex_);
    disconnectAfterWrites_ = writes;
}

std::vector<std::string> EmulatedUsbPrinter::events() const
{
    std::lock_guard lock(mutex_);
    return events_;
}

int EmulatedUsbPrinter::eventCount(const std::string& prefix) const
{
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const auto& event : events_)
        if (event.rfind(prefix, 0) == 0)
            ++count;
    return count;
}

void EmulatedUsbPrinter::record(std::string event)
{
    events_.push_back(std::move(event));
}

int EmulatedUsbPrinter::handleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self)
{
    return static_cast<EmulatedUsbPrinter*>(self)->handle(client) ? TRUE : FALSE;
}

// Runs on umockdev's thread, for every ioctl on the device node.
bool EmulatedUsbPrinter::handle(UMockdevIoctlClient* client)
{
    std::lock_guard lock(mutex_);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
    auto complete = [client](long result, int error) {
        umockdev_ioctl_client_complete(client, result, error);
        return true;
    };

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        ClientMemory capabilities(argument, 0, sizeof(std::uint32_t));
        *capabilities.as<std::uint32_t>() =
            USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        return complete(0, 0);
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM: {
        ClientMemory claim(argument, 0,
                           request == USBDEVFS_CLAIMINTERFACE ? sizeof(unsigned) : sizeof(usbdevfs_disconnect_claim));
        std::string event = "claim " + std::to_string(*claim.as<unsigned>());
        if (request == USBDEVFS_DISCONNECT_CLAIM) {
            const auto* disconnect = claim.as<usbdevfs_disconnect_claim>();
            if (disconnect->flags & USBDEVFS_DISCONNECT_CLAIM_EXCEPT_DRIVER)
                event += std::string(" except ") + disconnect->driver;
        }
        if (busyClaims_ > 0) {
            --busyClaims_;
            record(event + " busy");
            return complete(-1, EBUSY);
        }
        record(event);
        return complete(0, 0);
    }
    case USBDEVFS_RELEASEINTERFACE: {
        ClientMemory interface(argument, 0, sizeof(unsigned));
        record("release " + std::to_string(*interface.as<unsigned>()));
        return complete(0, 0);
    }
    case USBDEVFS_IOCTL: {
        ClientMemory command(argument, 0, sizeof(usbdevfs_ioctl));
        const auto* ioctl = command.as<usbdevfs_ioctl>();
        if (static_cast<unsigned long>(ioctl->ioctl_code) == USBDEVFS_CONNECT) {
            record("driver bound " + std::to_string(ioctl->ifno));
            return complete(1, 0);
        }
        if (static_cast<unsigned long>(ioctl->ioctl_code) == USBDEVFS_DISCONNECT) {
            record("driver unbound " + std::to_string(ioctl->ifno));
            return complete(0, 0);
        }
        record("unhandled driver ioctl " + std::to_string(ioctl->ioctl_code));
        return complete(-1, ENOTTY);
    }
    case USBDEVFS_SETINTERFACE: {
        ClientMemory setting(argument, 0, sizeof(usbdevfs_setinterface));
        const auto* selected = setting.as<usbdevfs_setinterface>();
        record("alternate setting " + std::to_string(selected->interface) + " " + std::to_string(selected->altsetting));
        return complete(0, 0);
    }
    case USBDEVFS_SUBMITURB: {
        UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), nullptr);
        if (!urbData)
            return complete(-1, EFAULT);
        auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        if (disconnectAfterWrites_ >= 0 && writes_ >= disconnectAfterWrites_) {
            g_object_unref(urbData);
            record("gone");
            return complete(-1, ENODEV);
        }
        if (urb->type != USBDEVFS_URB_TYPE_BULK) {
            g_object_unref(urbData);
            record("unhandled urb type " + std::to_string(urb->type));
            return complete(-1, EINVAL);
        }
        auto pending = std::make_unique<Urb>();
        pending->data = urbData;
        pending->clientAddress = urbData->client_addr;
        pending->in = (urb->endpoint & 0x80) != 0;
        pending->length = urb->buffer_length;
        if (!pending->in) {
            std::string bytes;
            if (urb->buffer_length > 0) {
                ClientMemory buffer(urbData, offsetof(usbdevfs_urb, buffer),
                                    static_cast<std::size_t>(urb->buffer_length));
                if (buffer)
                    bytes.assign(reinterpret_cast<const char*>(buffer.get()->data),
                                 static_cast<std::size_t>(urb->buffer_length));
            }
            ++writes_;
            record("write " + hexOf(bytes));
            printer.commandWritten(bytes);
            pending->done = true;
        } else {
            record("read " + std::to_string(urb->buffer_length));
            // An answer that is there already completes the read at once:
            // 1 ms is short on a busy machine.
            pending->answer = printer.takeOutput(static_cast<std::size_t>(urb->buffer_length));
            pending->done = pending->answer.has_value();
        }
        urbs_.push_back(std::move(pending));
        return complete(0, 0);
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
        return reap(client, argument);
    case USBDEVFS_DISCARDURB: {
        const unsigned long address = *reinterpret_cast<const unsigned long*>(argument->data);
        for (auto& urb : urbs_) {
            if (urb->clientAddress == address && !urb->done) {
                urb->done = true;
                urb->status = -ENOENT;
                return complete(0, 0);
            }
        }
        return complete(-1, EINVAL);
    }
    default:
        record("unhandled ioctl " + std::to_string(request));
        return false;
    }
}

bool EmulatedUsbPrinter::reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument)
{
    // A read still waiting takes an answer as soon as there is one.
    for (auto& urb : urbs_) {
        if (urb->in && !urb->done) {
            urb->answer = printer.takeOutput(static_cast<std::size_t>(urb->length), false);
            urb->done = urb->answer.has_value();
        }
    }
    auto finished = urbs_.begin();
    while (finished != urbs_.end() && !(*finished)->done)
        ++finished;
    if (finished == urbs_.end()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return true;
    }
    std::unique_ptr<Urb> urb = std::move(*finished);
    urbs_.erase(finished);

    auto* clientUrb = reinterpret_cast<usbdevfs_urb*>(urb->data->data);
    clientUrb->status = urb->status;
    if (!urb->in) {
        clientUrb->actual_length = urb->status == 0 ? urb->length : 0;
    } else if (urb->status != 0) {
        clientUrb->actual_length = 0;
        record("read timed out");
    } else {
        const std::string& answer = *urb->answer;
        clientUrb->actual_length = static_cast<int>(answer.size());
        if (!answer.empty()) {
            ClientMemory buffer(urb->data, offsetof(usbdevfs_urb, buffer), static_cast<std::size_t>(urb->length));
            if (buffer)
                std::memcpy(buffer.get()->data, answer.data(), answer.size());
        }
        record("read done " + std::to_string(answer.size()));
    }
    ClientMemory reaped(argument, 0, sizeof(void*));
    umockdev_ioctl_data_set_ptr(reaped.get(), 0, urb->data);
    g_object_unref(urb->data);
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
}

EmulatedUsbBus::EmulatedUsbBus() : testbed_(umockdev_testbed_new())
{
    if (!testbed_)
        throw std::runtime_error("cannot create the umockdev testbed");
}

EmulatedUsbBus::~EmulatedUsbBus()
{
    for (const auto& printer : printers_)
        umockdev_testbed_detach_ioctl(testbed_, printer->deviceNode().c_str(), nullptr);
    g_object_unref(testbed_);
}

EmulatedUsbPrinter& EmulatedUsbBus::plugIn(const SimulatedDevice& device)
{
    const int bus = static_cast<int>(printers_.size()) + 1;
    char node[64];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/001", bus);
    auto printer = std::make_unique<EmulatedUsbPrinter>(node);
    // The node answers before the device appears, so that an open never
    // meets a node without its handler.
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, node, printer->handler(), &error)) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot attach the usbfs handler: " + message);
    }
    char description[1024];
    std::snprintf(description, sizeof description,
                  "P: /devices/usb%d\n"
                  "N: bus/usb/%03d/001\n"
                  "E: SUBSYSTEM=usb\n"
                  "E: DEVTYPE=usb_device\n"
                  "E: DRIVER=usb\n"
                  "E: BUSNUM=%03d\n"
                  "E: DEVNUM=001\n"
                  "E: DEVNAME=/dev/bus/usb/%03d/001\n"
                  "A: busnum=%d\\n\n"
                  "A: devnum=1\\n\n"
                  "A: bConfigurationValue=1\\n\n"
                  "A: speed=480\\n\n",
                  bus, bus, bus, bus, bus);
    std::string text = std::string(description) + "H: descriptors=" + hexText(usbDescriptorsOf(device)) + "\n";
    if (!umockdev_testbed_add_from_string(testbed_, text.c_str(), &error)) {
        std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot add the device: " + message);
    }
    printers_.push_back(std::move(printer));
    return *printers_.back();
}

std::string EmulatedUsbBus::directory() const
{
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    std::string directory = root;
    g_free(root);
    return directory;
}

bool inEmulatedUsbEnvironment()
{
    return umockdev_in_mock_environment();
}

} // namespace testing_support
