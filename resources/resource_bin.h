// A bin of resources fetched by name: each key is loaded once and its handle shared afterwards; a key whose
// load failed is remembered, reported once and never tried again on an ordinary request.
#pragma once

#include "core/error_list.h"

#include <map>
#include <set>

// Loader supplies what differs per resource type:
//   args_type                                 what a load is made from
//   static Value load(const args_type&)       the handle, or nullptr when the file cannot be loaded
//   static std::string miss_message(const args_type&)
//   static void destroy(Value)
template <typename Key, typename Value, typename Loader>
class resource_bin_class
{
public:
    using args_type = typename Loader::args_type;

    std::map<Key, Value> loaded;
    std::set<Key> missed;
    error_list_class errors;

    // The memoised request: a loaded handle, nullptr for a known miss, otherwise a first load attempt.
    Value get(const Key& key, const args_type& args)
    {
        const auto found = loaded.find(key);
        if (found != loaded.end())
            return found->second;
        if (missed.count(key) > 0)
            return nullptr;
        return load(key, args);
    }

    // Loads unconditionally: replaces a loaded handle, retries a miss. A replaced handle is left alive
    // because callers may still hold it.
    Value load(const Key& key, const args_type& args)
    {
        const Value handle = load_resource(args);
        if (!handle) {
            record_miss(key, args);
            return nullptr;
        }
        loaded[key] = handle;
        return handle;
    }

    Value load_resource(const args_type& args) { return Loader::load(args); }

    void record_miss(const Key& key, const args_type& args)
    {
        missed.insert(key);
        errors.add(Loader::miss_message(args));
    }

    int size(bool include_missing) const
    {
        return static_cast<int>(loaded.size() + (include_missing ? missed.size() : 0));
    }

    int missing_count() const { return static_cast<int>(missed.size()); }

    // Destroys every loaded resource and forgets everything; must run while Allegro is still installed.
    void release()
    {
        for (const auto& entry : loaded)
            Loader::destroy(entry.second);
        loaded.clear();
        missed.clear();
        errors.messages.clear();
    }
};
