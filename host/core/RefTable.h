// Opaque host references (stream, effect, collection, memory handle...): each one
// handed out is a tagged record in a table and an entry in the ledger. A reference
// passed back is looked up before use, so a foreign, disposed or twice-disposed
// reference is caught at once and named with the call that made it. Records are
// kept after disposal so that a late use can still be named.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

#include "A.h"
#include "core/Errors.h"
#include "core/Ledger.h"

namespace tlhost {

template <class Target>
class RefTable {
  public:
    RefTable(RefKind kind, const char* noun) : kind_(kind), noun_(noun) {}

    // Hands out a new reference to `target`; the caller of the host function owns it.
    template <class H>
    H Make(Ledger& ledger, Target target, std::string what) {
        auto rec = std::make_unique<Record>();
        rec->target = std::move(target);
        rec->ref = ledger.Acquire(kind_, std::move(what));
        rec->created_by = ledger.CurrentCall();
        void* key = rec.get();
        records_.emplace(key, std::move(rec));
        return reinterpret_cast<H>(key);
    }

    // The target of a live reference; a breach otherwise.
    template <class H>
    Target& Get(H handle, const char* /*function*/) const {
        return Lookup(reinterpret_cast<const void*>(handle)).target;
    }

    template <class H>
    void Dispose(Ledger& ledger, H handle, const char* function) {
        Record& rec = Lookup(reinterpret_cast<const void*>(handle));
        ledger.Release(rec.ref, function);
        Retire(rec, ledger.CurrentCall());
    }

    // The host takes a reference over (a stream adopted by a collection).
    template <class H>
    void Adopt(Ledger& ledger, H handle, const char* function) {
        Record& rec = Lookup(reinterpret_cast<const void*>(handle));
        ledger.Adopt(rec.ref);
        Retire(rec, std::string(function) + " (adopted)");
    }

  private:
    static constexpr std::uint32_t kTag = 0x52454653;  // "REFS"
    struct Record {
        std::uint32_t tag = kTag;
        Target target{};
        RefId ref = 0;
        bool disposed = false;
        std::string created_by;
        std::string disposed_by;
    };

    // Keeps a disposed record so that a late use is named, up to a bound: the
    // oldest disposed records are forgotten, so a long session stays flat in
    // memory and time. (A reference used long after its disposal may then look
    // foreign rather than disposed.)
    static constexpr std::size_t kRetiredKept = 1 << 16;
    void Retire(Record& rec, std::string by) {
        rec.disposed = true;
        rec.disposed_by = std::move(by);
        rec.target = Target{};
        retired_.push_back(&rec);
        if (retired_.size() > kRetiredKept) {
            records_.erase(retired_.front());
            retired_.pop_front();
        }
    }

    Record& Lookup(const void* key) const {
        if (!key) Breach(A_Err_PARAMETER, std::string("null ") + noun_);
        auto it = records_.find(key);
        if (it == records_.end() || it->second->tag != kTag) {
            Breach(A_Err_PARAMETER, std::string("foreign ") + noun_ + " (not made by this host)");
        }
        Record& rec = *it->second;
        if (rec.disposed) {
            Breach(A_Err_PARAMETER, std::string("disposed ") + noun_ + " (made by " +
                                        rec.created_by + ", disposed by " + rec.disposed_by + ")");
        }
        return rec;
    }

    RefKind kind_;
    const char* noun_;
    std::unordered_map<const void*, std::unique_ptr<Record>> records_;
    std::deque<const void*> retired_;
};

}  // namespace tlhost
