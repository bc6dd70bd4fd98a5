#include "platform/linux/PropertyListLimits.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t HEADER_SIZE = 8; // "bplist00"
constexpr std::size_t TRAILER_SIZE = 32;

std::uint64_t bigEndian(const unsigned char* bytes, unsigned width)
{
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// The layout of a binary property list: objects, then a table of their
// offsets, then a trailer that says where the table is and how wide its
// entries and the object references are.
class BinaryLayout {
public:
    explicit BinaryLayout(std::string_view data)
        : bytes_(reinterpret_cast<const unsigned char*>(data.data())),
          size_(data.size())
    {
    }

    bool read()
    {
        if (size_ < HEADER_SIZE + TRAILER_SIZE)
            return false;
        const unsigned char* trailer = bytes_ + size_ - TRAILER_SIZE;
        offsetWidth_ = trailer[6];
        referenceWidth_ = trailer[7];
        objectCount_ = bigEndian(trailer + 8, 8);
        topObject_ = bigEndian(trailer + 16, 8);
        tableOffset_ = bigEndian(trailer + 24, 8);
        if (offsetWidth_ < 1 || offsetWidth_ > 8 || referenceWidth_ < 1 || referenceWidth_ > 8)
            return false;
        const std::uint64_t tableLimit = size_ - TRAILER_SIZE;
        if (tableOffset_ < HEADER_SIZE || tableOffset_ > tableLimit)
            return false;
        if (objectCount_ == 0 || objectCount_ > (tableLimit - tableOffset_) / offsetWidth_)
            return false;
        return topObject_ < objectCount_;
    }

    std::uint64_t topObject() const { return topObject_; }

    // The references a container holds (a dictionary's keys, then its
    // values); false for an object that cannot be walked.
    bool references(std::uint64_t object, std::vector<std::uint64_t>* found) const
    {
        found->clear();
        if (object >= objectCount_)
            return false;
        std::uint64_t offset = bigEndian(bytes_ + tableOffset_ + object * offsetWidth_, offsetWidth_);
        if (offset < HEADER_SIZE || offset >= tableOffset_)
            return false;
        unsigned marker = bytes_[offset];
        unsigned kind = marker >> 4;
        // Arrays, sets and dictionaries hold references; nothing else does.
        if (kind != 0xA && kind != 0xC && kind != 0xD)
            return true;
        std::uint64_t count = marker & 0xF;
        std::uint64_t position = offset + 1;
        if (count == 0xF) {
            if (position >= tableOffset_ || (bytes_[position] >> 4) != 0x1)
                return false;
            unsigned width = 1u << (bytes_[position] & 0xF);
            ++position;
            if (width > 8 || width > tableOffset_ - position)
                return false;
            count = bigEndian(bytes_ + position, width);
            position += width;
        }
        std::uint64_t available = (tableOffset_ - position) / referenceWidth_;
        if (count > available || (kind == 0xD && count > available / 2))
            return false;
        std::uint64_t total = kind == 0xD ? count * 2 : count;
        found->reserve(total);
        for (std::uint64_t i = 0; i < total; ++i)
            found->push_back(bigEndian(bytes_ + position + i * referenceWidth_, referenceWidth_));
        return true;
    }

private:
    const unsigned char* bytes_;
    std::size_t size_;
    unsigned offsetWidth_ = 0;
    unsigned referenceWidth_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t topObject_ = 0;
    std::uint64_t tableOffset_ = 0;
};

} // namespace

bool looksLikeBinaryPropertyList(std::string_view data)
{
    return data.substr(0, 6) == "bplist";
}

bool binaryPropertyListWithinLimits(std::string_view data)
{
    if (data.substr(0, HEADER_SIZE) != "bplist00")
        return false;
    BinaryLayout layout(data);
    if (!layout.read())
        return false;

    // Depth-first, without recursion: how many objects each one expands to
    // once every reference is copied, and how deep it nests.
    struct Expansion {
        bool finished = false;
        std::uint64_t objects = 1;
        std::size_t nesting = 0;
    };
    struct Frame {
        std::uint64_t object;
        std::vector<std::uint64_t> children;
        std::size_t next = 0;
    };
    std::unordered_map<std::uint64_t, Expansion> seen;
    std::vector<Frame> path;

    auto enter = [&](std::uint64_t object) {
        if (path.size() >= PROPERTY_LIST_MAX_NESTING || seen.size() >= PROPERTY_LIST_MAX_OBJECTS)
            return false;
        Frame frame{object, {}, 0};
        if (!layout.references(object, &frame.children))
            return false;
        seen.emplace(object, Expansion{});
        path.push_back(std::move(frame));
        return true;
    };

    if (!enter(layout.topObject()))
        return false;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.next < frame.children.size()) {
            std::uint64_t child = frame.children[frame.next++];
            auto known = seen.find(child);
            if (known == seen.end()) {
                if (!enter(child))
                    return false;
            } else if (!known->second.finished) {
                return false; // a container that holds itself
            }
            continue;
        }
        Expansion& done = seen[frame.object];
        for (std::uint64_t child : frame.children) {
            const Expansion& part = seen[child];
            done.objects += part.objects;
            if (done.objects > PROPERTY_LIST_MAX_OBJECTS)
                return false;
            if (part.nesting + 1 > done.nesting)
                done.nesting = part.nesting + 1;
        }
        if (done.nesting > PROPERTY_LIST_MAX_NESTING)
            return false;
        done.finished = true;
        path.pop_back();
    }
    return true;
}

bool xmlPropertyListWithinLimits(std::string_view data)
{
    auto opensContainerAt = [&](std::size_t position) {
        for (std::string_view name : {"array", "dict", "plist"}) {
            if (data.size() - position < name.size())
                continue;
            bool same = true;
            for (std::size_t i = 0; i < name.size() && same; ++i)
                same = (data[position + i] | 0x20) == name[i];
            if (same)
                return true;
        }
        return false;
    };
    std::size_t tags = 0;
    std::size_t containers = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] != '<')
            continue;
        if (++tags > PROPERTY_LIST_MAX_OBJECTS)
            return false;
        if (opensContainerAt(i + 1) && ++containers > PROPERTY_LIST_MAX_XML_CONTAINERS)
            return false;
    }
    return true;
}

} // namespace platform
