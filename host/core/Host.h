// The stand-in host: the state behind every host function the plug-in calls.
// Host functions carry no context argument, so the host serving the plug-in is
// made current for the length of a command (`Host::Scope`).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "SPBasic.h"
#include "core/Faults.h"
#include "core/Handles.h"
#include "core/Ledger.h"
#include "core/RefTable.h"
#include "model/Project.h"
#include "suites/Registry.h"

namespace tlhost {

// What a stream reference refers to: a node of a layer's property tree (an effect
// parameter's stream is a node bound to the parameter).
struct StreamTarget {
    StreamNode* node = nullptr;
};

// A path handed to the plug-in inside a stream value: the value's `mask` member
// points at it, and it lives as long as the value.
struct MaskOutline {
    static constexpr std::uint32_t kTag = 0x4D41534B;  // "MASK"
    std::uint32_t tag = kTag;
    ShapePath path;
};

// A stream value handed out: the node it was read from, and for a path the outline
// its `mask` member points at. Its `streamH` is this record, so that disposing the
// value is matched exactly once.
struct StreamValueRecord {
    StreamNode* node = nullptr;
    std::shared_ptr<MaskOutline> mask;
};

// A batch of keys being added to one property (AEGP_StartAddKeyframes): keys in the
// order added, each with the value set for it, if any; one key per time.
struct KeyframeBatchRecord {
    struct Key {
        A_Time time{0, 1};  // composition time
        bool has_value = false;
        StreamValue value;
    };
    StreamNode* node = nullptr;
    std::vector<Key> keys;
    // The index of the key at each time (reduced to lowest terms).
    std::map<std::pair<A_long, A_u_long>, A_long> index_of;
};

// The host's Info panel as PF_InfoDrawText3Plus leaves it: the five texts of the last
// update (line 1; line 2 right and left parts; line 3 right and left parts) and how
// many updates there were.
struct InfoPanel {
    std::array<std::string, 5> texts;
    std::uint64_t updates = 0;
};

// An AEGP collection: the streams whose references it adopted, in push order.
struct CollectionRecord {
    std::vector<StreamNode*> streams;
};

// A key event that reached the stand-in platform's keyboard while this host was current.
struct KeyEvent {
    std::uint16_t virtual_key = 0;
    bool down = false;
};

// An AEGP memory handle's block.
struct MemBlock {
    std::vector<std::uint8_t> bytes;
    std::vector<RefId> locks;
};

class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host* Current();
    // Makes a host current for a scope; scopes nest.
    class Scope {
      public:
        explicit Scope(Host& host);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Host* previous_;
    };

    Ledger& ledger() { return ledger_; }
    Faults& faults() { return faults_; }
    HandleTable& handles() { return handles_; }
    SuiteRegistry& suites() { return suites_; }
    Project& project() { return project_; }
    const Ledger& ledger() const { return ledger_; }

    // Opaque references the AEGP suites hand out; each must be disposed by the plug-in.
    RefTable<StreamTarget>& streams() { return streams_; }
    RefTable<EffectInstance*>& effects() { return effects_; }
    RefTable<MemBlock>& mem_handles() { return mem_handles_; }
    RefTable<StreamValueRecord>& stream_values() { return stream_values_; }
    RefTable<CollectionRecord>& collections() { return collections_; }
    RefTable<KeyframeBatchRecord>& keyframe_batches() { return keyframe_batches_; }

    InfoPanel& info_panel() { return info_panel_; }

    // The path outlines of the stream values handed out and not yet disposed, so that an
    // outline handle is checked before it is used.
    std::unordered_set<const MaskOutline*>& outlines() { return outlines_; }

    // Key events the plug-in synthesised, in the order they arrived.
    std::vector<KeyEvent>& key_events() { return key_events_; }

    // The value of a property after expressions at a time (seconds). Without an
    // expression engine installed, the value before expressions.
    using Evaluator = std::function<StreamValue(Project&, StreamNode&, double)>;
    void set_evaluator(Evaluator evaluator) { evaluator_ = std::move(evaluator); }
    bool has_evaluator() const { return static_cast<bool>(evaluator_); }
    StreamValue ValueAfterExpressions(StreamNode& node, double time);

    // The records handed to the plug-in in every input record.
    SPBasicSuite* basic_suite() { return &basic_suite_; }
    PF_UtilCallbacks* utils() { return &utils_; }

    // Plug-ins that registered with the AEGP layer, indexed by plug-in id - 1.
    AEGP_PluginID RegisterPlugin(const std::string& name);
    const std::vector<std::string>& registered_plugins() const { return registered_plugins_; }

    // Live acquisitions of each suite (by its registry entry), most recent last, so a
    // release can be matched.
    std::unordered_map<const SuiteRegistry::Entry*, std::vector<RefId>>& suite_refs() {
        return suite_refs_;
    }

    // Host-owned text buffers handed to the plug-in (the return-message buffer):
    // formatted printing and string copies into them are bounded and checked.
    void GuardBuffer(char* start, std::size_t size) { guarded_ = {start, size}; }
    // The room left in a guarded buffer from `dst` on, or 0 when `dst` is not in one.
    std::size_t GuardedRoom(const char* dst) const {
        if (!guarded_.first || dst < guarded_.first || dst >= guarded_.first + guarded_.second) {
            return 0;
        }
        return static_cast<std::size_t>(guarded_.first + guarded_.second - dst);
    }

    // Installed effects, keyed 1.. in the order the host first met their match names.
    AEGP_InstalledEffectKey InstalledKey(const std::string& match_name);
    const std::string* InstalledMatchName(AEGP_InstalledEffectKey key) const;

    // Messages the host would show in its own windows (reports, load log).
    std::vector<std::string>& log() { return log_; }

  private:
    Ledger ledger_;
    Faults faults_;
    HandleTable handles_{ledger_};
    SuiteRegistry suites_;
    Project project_;
    RefTable<StreamTarget> streams_{RefKind::Stream, "stream reference"};
    RefTable<EffectInstance*> effects_{RefKind::Effect, "effect reference"};
    RefTable<MemBlock> mem_handles_{RefKind::MemHandle, "memory handle"};
    RefTable<StreamValueRecord> stream_values_{RefKind::StreamValue, "stream value"};
    RefTable<CollectionRecord> collections_{RefKind::Collection, "collection"};
    RefTable<KeyframeBatchRecord> keyframe_batches_{RefKind::KeyframeBatch, "keyframe batch"};
    InfoPanel info_panel_;
    std::unordered_set<const MaskOutline*> outlines_;
    std::vector<KeyEvent> key_events_;
    Evaluator evaluator_;
    SPBasicSuite basic_suite_{};
    PF_UtilCallbacks utils_{};
    std::vector<std::string> registered_plugins_;
    std::unordered_map<const SuiteRegistry::Entry*, std::vector<RefId>> suite_refs_;
    std::vector<std::string> log_;
    std::vector<std::string> installed_effects_;
    std::pair<char*, std::size_t> guarded_{nullptr, 0};
};

}  // namespace tlhost
