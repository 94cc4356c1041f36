// What a drawing leaves out or draws otherwise than the host would, said once each: the
// renderer never drops anything silently.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace tlhost {

class RenderNotes {
  public:
    // Keeps `text` unless a note with the same `key` was kept before (the text of a note may
    // name the first place met, the key names only the kind of thing).
    void Add(const std::string& key, std::string text) {
        if (keys_.insert(key).second) texts_.push_back(std::move(text));
    }
    void Add(std::string text) {
        const std::string key = text;
        Add(key, std::move(text));
    }
    const std::vector<std::string>& texts() const { return texts_; }

  private:
    std::unordered_set<std::string> keys_;
    std::vector<std::string> texts_;
};

}  // namespace tlhost
