// The stand-in Object Designer's behaviour. Keys are read on a US keyboard layout.
#include "nav_model.h"

#include <algorithm>
#include <cstdio>

namespace fakenav {

namespace {

constexpr uint8_t kReturn = 0x0D, kEscape = 0x1B, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
                  kDown = 0x28, kF1 = 0x70, kF7 = 0x76, kF10 = 0x79, kF12 = 0x7B, kOem5 = 0xDC;

// The character that a key types into a filter window, or 0.
char Typed(uint8_t vk, unsigned modifiers) {
    if (modifiers & (kCtrl | kAlt)) return 0;
    if (vk >= '0' && vk <= '9') return (modifiers & kShift) ? 0 : static_cast<char>(vk);
    if (vk >= 0x60 && vk <= 0x69) return static_cast<char>('0' + vk - 0x60);
    if (vk >= 'A' && vk <= 'Z') return static_cast<char>(vk);
    if (vk == kOem5 && (modifiers & kShift)) return '|';
    if (vk == 0xBE) return '.';
    return 0;
}

}  // namespace

NavModel::NavModel(std::vector<NavObject> objects) : objects_(std::move(objects)) {
    std::stable_sort(objects_.begin(), objects_.end(),
                     [](const NavObject& a, const NavObject& b) { return a.type != b.type ? a.type < b.type : a.id < b.id; });
}

bool NavModel::Matches(const std::string& filter, int value) {
    if (filter.empty()) return true;
    size_t start = 0;
    while (start <= filter.size()) {
        size_t end = filter.find('|', start);
        if (end == std::string::npos) end = filter.size();
        const std::string part = filter.substr(start, end - start);
        if (!part.empty() && part.find_first_not_of("0123456789") == std::string::npos && part.size() < 10 &&
            std::stoi(part) == value)
            return true;
        start = end + 1;
    }
    return false;
}

std::vector<size_t> NavModel::Filtered() const {
    std::vector<size_t> out;
    for (size_t i = 0; i < objects_.size(); ++i)
        if (Matches(typeFilter_, objects_[i].type) && Matches(idFilter_, objects_[i].id)) out.push_back(i);
    return out;
}

NavModel::Change NavModel::Key(uint8_t vk, unsigned modifiers) {
    Change change;
    if (inMenu_) {
        menuKeys_ += ' ' + KeyName(vk, modifiers);
        if (vk == kReturn || vk == kEscape) inMenu_ = false;
        return change;
    }
    if (filterOpen_ != Window::None) {
        if (vk == kReturn || vk == kEscape) {
            if (vk == kReturn) {
                (filterOpen_ == Window::TypeFilter ? typeFilter_ : idFilter_) = editing_;
                filterLog_.push_back((filterOpen_ == Window::TypeFilter ? "Type:" : "ID:") + editing_);
            }
            change.closed = filterOpen_;
            filterOpen_ = Window::None;
            cursor_ = 0;
            allSelected_ = false;
        } else if (const char c = Typed(vk, modifiers)) {
            editing_ += c;
        }
        return change;
    }
    if (vk == kF12 && modifiers == kShift) {
        if (!designerOpen_) change.opened = Window::Designer;
        designerOpen_ = true;
        return change;
    }
    if (designerOpen_) KeyInDesigner(vk, modifiers, change);
    return change;
}

void NavModel::KeyInDesigner(uint8_t vk, unsigned modifiers, Change& change) {
    const int count = static_cast<int>(Filtered().size());
    if (modifiers == 0) {
        switch (vk) {
            case kHome: column_ = 0; break;
            case kRight: column_ = std::min(column_ + 1, 2); break;
            case kLeft: column_ = std::max(column_ - 1, 0); break;
            case kUp:
                cursor_ = std::max(cursor_ - 1, 0);
                allSelected_ = false;
                break;
            case kDown:
                cursor_ = std::max(std::min(cursor_ + 1, count - 1), 0);
                allSelected_ = false;
                break;
            case kF7:
                if (column_ < 2) {
                    filterOpen_ = column_ == 0 ? Window::TypeFilter : Window::IdFilter;
                    editing_.clear();
                    change.opened = filterOpen_;
                }
                break;
            case kF10:
                inMenu_ = true;
                menuKeys_ += menuKeys_.empty() ? "F10" : " F10";
                break;
            default: break;
        }
    } else if (modifiers == kCtrl) {
        if (vk == kHome) {
            cursor_ = 0;
            allSelected_ = false;
        } else if (vk == 'A') {
            allSelected_ = true;
        } else if (vk == kF1 && count > 0) {
            // The selection, or else the current record, takes the opposite of the current
            // record's mark.
            const std::vector<size_t> shown = Filtered();
            const bool mark = !objects_[shown[static_cast<size_t>(std::min(cursor_, count - 1))]].marked;
            if (allSelected_) {
                for (size_t i : shown) objects_[i].marked = mark;
            } else {
                objects_[shown[static_cast<size_t>(std::min(cursor_, count - 1))]].marked = mark;
            }
        }
    } else if (modifiers == (kShift | kCtrl) && vk == kF7) {
        typeFilter_.clear();
        idFilter_.clear();
        cursor_ = 0;
        allSelected_ = false;
    }
}

void NavModel::Render(uint32_t* colors, int width, int height) const {
    constexpr uint32_t kWhite = 0xFFFFFF, kGrey = 0xC0C0C0, kBlackColor = 0, kSelected = 0xE0C8A0;
    auto fill = [&](int x0, int y0, int x1, int y1, uint32_t c) {  // inclusive
        for (int y = std::max(y0, 0); y <= std::min(y1, height - 1); ++y)
            for (int x = std::max(x0, 0); x <= std::min(x1, width - 1); ++x)
                colors[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = c;
    };
    fill(0, 0, width - 1, height - 1, kWhite);
    fill(0, 0, width - 1, 39, kGrey);
    const std::vector<size_t> shown = Filtered();
    for (size_t k = 0; k < shown.size(); ++k) {
        const int y0 = 56 + 18 * static_cast<int>(k);
        if (y0 >= height) break;
        if (allSelected_) fill(142, y0, width - 1, y0 + 17, kSelected);
        if (objects_[shown[k]].marked) fill(118, y0 + 2, 129, y0 + 15, kBlackColor);
        if (static_cast<int>(k) == cursor_) fill(131, y0, 140, y0 + 17, kBlackColor);
    }
}

std::string KeyName(uint8_t vk, unsigned modifiers) {
    std::string name;
    if (modifiers & kShift) name += "Shift+";
    if (modifiers & kCtrl) name += "Ctrl+";
    if (modifiers & kAlt) name += "Alt+";
    switch (vk) {
        case kReturn: return name + "Enter";
        case kEscape: return name + "Esc";
        case kHome: return name + "Home";
        case kLeft: return name + "Left";
        case kUp: return name + "Up";
        case kRight: return name + "Right";
        case kDown: return name + "Down";
        case 0x10: return name + "ShiftKey";
        case 0x11: return name + "CtrlKey";
        case 0x12: return name + "AltKey";
        case kOem5: return name + "Oem5";
        default: break;
    }
    if (vk >= 0x70 && vk <= 0x87) return name + "F" + std::to_string(vk - 0x6F);
    if (vk >= 0x60 && vk <= 0x69) return name + "Num" + std::to_string(vk - 0x60);
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return name + static_cast<char>(vk);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", vk);
    return name + hex;
}

}  // namespace fakenav
