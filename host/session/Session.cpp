#include "session/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

struct CommandNameRow {
    PF_Cmd cmd;
    const char* name;
};
constexpr CommandNameRow kCommandNames[] = {
    {PF_Cmd_ABOUT, "PF_Cmd_ABOUT"},
    {PF_Cmd_GLOBAL_SETUP, "PF_Cmd_GLOBAL_SETUP"},
    {PF_Cmd_GLOBAL_SETDOWN, "PF_Cmd_GLOBAL_SETDOWN"},
    {PF_Cmd_PARAMS_SETUP, "PF_Cmd_PARAMS_SETUP"},
    {PF_Cmd_SEQUENCE_SETUP, "PF_Cmd_SEQUENCE_SETUP"},
    {PF_Cmd_SEQUENCE_SETDOWN, "PF_Cmd_SEQUENCE_SETDOWN"},
    {PF_Cmd_RENDER, "PF_Cmd_RENDER"},
    {PF_Cmd_USER_CHANGED_PARAM, "PF_Cmd_USER_CHANGED_PARAM"},
    {PF_Cmd_UPDATE_PARAMS_UI, "PF_Cmd_UPDATE_PARAMS_UI"},
    {PF_Cmd_EVENT, "PF_Cmd_EVENT"},
    {PF_Cmd_ARBITRARY_CALLBACK, "PF_Cmd_ARBITRARY_CALLBACK"},
    {PF_Cmd_SMART_PRE_RENDER, "PF_Cmd_SMART_PRE_RENDER"},
    {PF_Cmd_SMART_RENDER, "PF_Cmd_SMART_RENDER"},
};

constexpr std::uint32_t kEffectRefTag = 0x45464652;  // "EFFR"

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace

const char* CommandName(PF_Cmd cmd) {
    for (const auto& row : kCommandNames) {
        if (row.cmd == cmd) return row.name;
    }
    return "PF_Cmd_(other)";
}

// What the host passes as `effect_ref`: a tagged record naming the session and
// the effect instance (none during global and parameter setup).
struct Session::EffectRef {
    std::uint32_t tag = kEffectRefTag;
    Session* session = nullptr;
    EffectInstance* effect = nullptr;
};

// The callbacks that need the session behind an effect_ref.
struct SessionCallbacks {
    static Session::EffectRef& RefOf(PF_ProgPtr effect_ref) {
        auto* ref = reinterpret_cast<Session::EffectRef*>(effect_ref);
        if (!ref || ref->tag != kEffectRefTag) {
            Breach(PF_Err_BAD_CALLBACK_PARAM, "effect_ref is not one the host handed out");
        }
        return *ref;
    }

    static EffectInstance& EffectOf(PF_ProgPtr effect_ref) {
        Session::EffectRef& ref = RefOf(effect_ref);
        if (!ref.effect) {
            Breach(PF_Err_BAD_CALLBACK_PARAM, "effect_ref has no effect instance in this command");
        }
        return *ref.effect;
    }

    static PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
        return Serve("add_param", [&](Host&) -> A_Err {
            if (!def) Breach(PF_Err_BAD_CALLBACK_PARAM, "null parameter definition");
            return RefOf(effect_ref).session->AddParam(index, *def);
        });
    }

    static PF_Err RegisterUI(PF_ProgPtr effect_ref, PF_CustomUIInfo* info) {
        return Serve("register_ui", [&](Host&) -> A_Err {
            if (!info) Breach(PF_Err_BAD_CALLBACK_PARAM, "null custom-interface record");
            return RefOf(effect_ref).session->RegisterUI(*info);
        });
    }

    static PF_Err CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                                const PF_RenderRequest* request, A_long, A_long, A_u_long,
                                PF_CheckoutResult* result) {
        return Serve("checkout_layer", [&](Host&) -> A_Err {
            Session& s = *RefOf(effect_ref).session;
            if (!request || !result) Breach(PF_Err_BAD_CALLBACK_PARAM, "null request or result");
            if (index != 0) return PF_Err_BAD_CALLBACK_PARAM;
            const CheckoutAnswer& answer = *s.checkout_answer_;
            if (answer.error) return answer.error;
            std::memset(result, 0, sizeof *result);
            result->result_rect = answer.result_rect;
            result->max_result_rect = answer.max_result_rect;
            result->par = PF_RationalScale{1, 1};
            s.layer_checkouts_.push_back(checkout_id);
            return PF_Err_NONE;
        });
    }

    static PF_Err GuidMixIn(PF_ProgPtr, A_u_long, const void*) { return Decline("GuidMixInPtr"); }

    static PF_Err CheckoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id,
                                      PF_EffectWorld** world) {
        return Serve("checkout_layer_pixels", [&](Host& host) -> A_Err {
            Session& s = *RefOf(effect_ref).session;
            if (!world) Breach(PF_Err_BAD_CALLBACK_PARAM, "null world place");
            *world = nullptr;
            const std::vector<A_long>& prerendered = s.prerendered_[s.rendering_];
            if (std::find(prerendered.begin(), prerendered.end(), checkout_id) ==
                prerendered.end()) {
                Breach(PF_Err_BAD_CALLBACK_PARAM,
                       "checkout id " + std::to_string(checkout_id) +
                           " was not checked out by the effect's smart pre-render");
            }
            if (s.pixel_answer_->input_error) return s.pixel_answer_->input_error;
            for (const auto& [id, ref] : s.pixel_checkouts_) {
                if (id == checkout_id) Breach(PF_Err_BAD_CALLBACK_PARAM, "checkout id taken twice");
            }
            RefId ref = host.ledger().Acquire(
                RefKind::PixelCheckout, "layer pixels of checkout " + std::to_string(checkout_id));
            s.pixel_checkouts_.emplace_back(checkout_id, ref);
            *world = s.render_input_->get();
            return PF_Err_NONE;
        });
    }

    static PF_Err CheckinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id) {
        return Serve("checkin_layer_pixels", [&](Host& host) -> A_Err {
            Session& s = *RefOf(effect_ref).session;
            for (auto it = s.pixel_checkouts_.begin(); it != s.pixel_checkouts_.end(); ++it) {
                if (it->first == checkout_id) {
                    host.ledger().Release(it->second, "checkin_layer_pixels");
                    s.pixel_checkouts_.erase(it);
                    return PF_Err_NONE;
                }
            }
            // Checking in what was never checked out is harmless to the host.
            return PF_Err_NONE;
        });
    }

    static PF_Err CheckoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** world) {
        return Serve("checkout_output", [&](Host&) -> A_Err {
            Session& s = *RefOf(effect_ref).session;
            if (!world) Breach(PF_Err_BAD_CALLBACK_PARAM, "null world place");
            *world = nullptr;
            if (s.pixel_answer_->output_error) return s.pixel_answer_->output_error;
            if (!s.pixel_answer_->null_output) *world = s.render_output_->get();
            return PF_Err_NONE;
        });
    }
};

EffectInstance& EffectOfRef(PF_ProgPtr effect_ref) {
    return SessionCallbacks::EffectOf(effect_ref);
}

namespace {

// "PF Param Utils Suite" v2: cosmetic changes to a parameter's definition. The host
// keeps the fields it allows to change (name, interface flags and sizes, the
// collapse flag, slider ranges, precision and display flags); the value stays.
PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def) {
    return Serve("PF_UpdateParamUI", [&](Host&) -> A_Err {
        Require(def, "parameter definition");
        EffectInstance& effect = EffectOfRef(effect_ref);
        if (index <= 0 || static_cast<std::size_t>(index) >= effect.params().size()) {
            Breach(PF_Err_BAD_CALLBACK_PARAM, "index " + std::to_string(index) + " out of range");
        }
        HostParam& param = effect.params()[static_cast<std::size_t>(index)];
        PF_ParamDef& kept = param.def();
        if (def->param_type != kept.param_type) {
            Breach(PF_Err_BAD_CALLBACK_PARAM,
                   "the definition is not a copy of parameter " + std::to_string(index));
        }
        param.set_name(std::string(def->name, strnlen(def->name, sizeof def->name)));
        if (StreamNode* node = effect.ParamStream(static_cast<std::size_t>(index))) {
            node->set_name(param.name());
        }
        kept.ui_flags = def->ui_flags;
        kept.ui_width = def->ui_width;
        kept.ui_height = def->ui_height;
        kept.flags = (kept.flags & ~PF_ParamFlag_COLLAPSE_TWIRLY) |
                     (def->flags & PF_ParamFlag_COLLAPSE_TWIRLY);
        if (kept.param_type == PF_Param_FLOAT_SLIDER) {
            kept.u.fs_d.slider_min = def->u.fs_d.slider_min;
            kept.u.fs_d.slider_max = def->u.fs_d.slider_max;
            kept.u.fs_d.precision = def->u.fs_d.precision;
            kept.u.fs_d.display_flags = def->u.fs_d.display_flags;
        }
        return PF_Err_NONE;
    });
}

}  // namespace

const PF_ParamUtilsSuite1* ParamUtilsSuite1Table() {
    static const PF_ParamUtilsSuite1 table = [] {
        PF_ParamUtilsSuite1 s{};
        s.PF_UpdateParamUI = UpdateParamUI;
        TL_DECLINE(s, PF_GetCurrentStateObsolete);
        TL_DECLINE(s, PF_HasParamChangedObsolete);
        TL_DECLINE(s, PF_HaveInputsChangedOverTimeSpanObsolete);
        TL_DECLINE(s, PF_IsIdenticalCheckout);
        TL_DECLINE(s, PF_FindKeyframeTime);
        TL_DECLINE(s, PF_GetKeyframeCount);
        TL_DECLINE(s, PF_CheckoutKeyframe);
        TL_DECLINE(s, PF_CheckinKeyframe);
        TL_DECLINE(s, PF_KeyIndexToTime);
        return s;
    }();
    return &table;
}

PF_InteractCallbacks InteractCallbacksTable() {
    PF_InteractCallbacks inter{};
    TL_DECLINE(inter, checkout_param);
    TL_DECLINE(inter, checkin_param);
    inter.add_param = SessionCallbacks::AddParam;
    TL_DECLINE(inter, abort);
    TL_DECLINE(inter, progress);
    inter.register_ui = SessionCallbacks::RegisterUI;
    TL_DECLINE(inter, checkout_layer_audio);
    TL_DECLINE(inter, checkin_layer_audio);
    TL_DECLINE(inter, get_audio_data);
    return inter;
}

// ---------------------------------------------------------------------------------

Session::Session(EntryPoints entry_points, std::vector<std::uint8_t> resource)
    : entry_points_(entry_points), resource_bytes_(std::move(resource)) {}

Session::~Session() = default;

std::unique_ptr<Session> Session::Load(const std::string& module_path,
                                       const std::string& resource_path,
                                       std::vector<std::string>* load_log) {
    auto log = [&](const std::string& line) {
        if (load_log) load_log->push_back(line);
    };
    std::ifstream in(resource_path, std::ios::binary);
    if (!in) {
        log("load: cannot read the registration resource " + resource_path + "; not loaded");
        return nullptr;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    ResourceInfo info;
    std::string error;
    if (!ReadRegistrationResource(bytes, &info, &error)) {
        log("load: " + error + "; not loaded");
        return nullptr;
    }
    // The module is kept open for the life of the process, as the host does.
    static std::vector<std::unique_ptr<Module>> modules;
    auto module = Module::Open(module_path, info.entry_point, &error);
    if (!module) {
        log("load: " + error + "; not loaded");
        return nullptr;
    }
    EntryPoints entry_points = module->entry_points();
    modules.push_back(std::move(module));
    return Start(entry_points, std::move(bytes), load_log);
}

std::unique_ptr<Session> Session::Start(EntryPoints entry_points,
                                        std::vector<std::uint8_t> resource,
                                        std::vector<std::string>* load_log) {
    auto session = std::make_unique<Session>(entry_points, std::move(resource));
    bool ok = session->Register();
    if (ok) ok = session->CheckAgainstResource(session->GlobalSetup());
    if (load_log) {
        load_log->insert(load_log->end(), session->load_log_.begin(), session->load_log_.end());
    }
    return ok ? std::move(session) : nullptr;
}

bool Session::Register() {
    std::string error;
    if (!ReadRegistrationResource(resource_bytes_, &resource_, &error)) {
        load_log_.push_back("load: " + error + "; not loaded");
        return false;
    }
    if (!entry_points_.data_entry || !entry_points_.effect_main) {
        load_log_.push_back("load: the module lacks an entry point; not loaded");
        return false;
    }
    // The registration callback takes no host context; it reaches the session
    // through the opaque pointer the host passes along.
    PF_PluginDataCB callback = [](PF_PluginDataPtr ptr, const A_u_char* name,
                                  const A_u_char* match_name, const A_u_char* category,
                                  const A_u_char* entry_point, A_long kind, A_long major,
                                  A_long minor, A_long reserved) -> PF_Err {
        auto* reg = reinterpret_cast<Registration*>(ptr);
        auto text = [](const A_u_char* s) {
            return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
        };
        ++reg->calls;
        reg->name = text(name);
        reg->match_name = text(match_name);
        reg->category = text(category);
        reg->entry_point = text(entry_point);
        reg->kind = kind;
        reg->spec_major = major;
        reg->spec_minor = minor;
        reg->reserved_info = reserved;
        return PF_Err_NONE;
    };
    Host::Scope scope(host_);
    registration_.result =
        entry_points_.data_entry(reinterpret_cast<PF_PluginDataPtr>(&registration_), callback,
                                 host_.basic_suite(), "Tetherline Stand-in Host", "1.0");
    if (registration_.calls != 1) {
        load_log_.push_back("load: the plug-in called the registration callback " +
                            std::to_string(registration_.calls) + " times; not loaded");
        return false;
    }
    return true;
}

bool Session::CheckAgainstResource(const CommandReport& global_setup) {
    struct Check {
        const char* what;
        std::string answered;
        std::string resource;
    };
    const ResourceInfo& r = resource_;
    const Check checks[] = {
        {"my_version (eVER)", Hex(global_setup.my_version), Hex(r.version)},
        {"out_flags (eGLO)", Hex(static_cast<std::uint32_t>(global_setup.out_flags)),
         Hex(r.out_flags)},
        {"out_flags2 (eGL2)", Hex(static_cast<std::uint32_t>(global_setup.out_flags2)),
         Hex(r.out_flags2)},
        {"name", registration_.name, r.name},
        {"match name (eMNA)", registration_.match_name, r.match_name},
        {"category", registration_.category, r.category},
        {"entry point (8664)", registration_.entry_point, r.entry_point},
        {"kind", FourCC(static_cast<std::uint32_t>(registration_.kind)), FourCC(r.kind)},
    };
    bool ok = true;
    if (global_setup.result) {
        load_log_.push_back("load: global setup failed with error " +
                            std::to_string(global_setup.result) + "; not loaded");
        ok = false;
    }
    for (const auto& c : checks) {
        if (c.answered != c.resource) {
            load_log_.push_back(std::string("load: ") + resource_.match_name + ": " + c.what +
                                " is " + c.answered + " at run time but " + c.resource +
                                " in the registration resource; not loaded");
            ok = false;
        }
    }
    if (ok) {
        load_log_.push_back("load: " + resource_.match_name + " " + Hex(resource_.version) +
                            " loaded");
    }
    return ok;
}

Session::EffectRef* Session::RefFor(EffectInstance* effect) {
    for (auto& ref : refs_) {
        if (ref->effect == effect) return ref.get();
    }
    refs_.push_back(std::make_unique<EffectRef>());
    refs_.back()->session = this;
    refs_.back()->effect = effect;
    return refs_.back().get();
}

CommandReport Session::Send(PF_Cmd cmd, EffectInstance* effect, void* extra, PF_LayerDef* output,
                            World* input, const std::function<void()>& take_back) {
    CommandReport report;
    report.cmd = cmd;
    report.command = CommandName(cmd);
    Host::Scope scope(host_);
    Ledger& ledger = host_.ledger();
    const std::size_t violations_before = ledger.ViolationMark();
    const std::size_t declined_before = ledger.DeclinedMark();
    const std::size_t keys_before = host_.key_events().size();

    World& in_world = input ? *input : default_input_;
    PF_InData in_data{};
    in_data.inter = InteractCallbacksTable();
    in_data.utils = host_.utils();
    in_data.effect_ref = reinterpret_cast<PF_ProgPtr>(RefFor(effect));
    in_data.quality = PF_Quality_HI;
    in_data.version = PF_SpecVersion{PF_PLUG_IN_VERSION, PF_PLUG_IN_SUBVERS};
    in_data.appl_id = 0x46585443;  // 'FXTC'
    in_data.time_scale = 30;
    in_data.time_step = 1;
    in_data.local_time_step = 1;
    in_data.total_time = 300;
    in_data.width = in_world.get()->width;
    in_data.height = in_world.get()->height;
    in_data.extent_hint = PF_Rect{0, 0, in_data.width, in_data.height};
    in_data.downsample_x = in_data.downsample_y = PF_RationalScale{1, 1};
    in_data.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in_data.global_data = global_data_;
    in_data.pica_basicP = host_.basic_suite();

    // The parameter array: the host's values copied into records of this call.
    std::vector<PF_ParamDef> defs;
    std::vector<PF_ParamDef*> params;
    if (effect) {
        in_data.num_params = static_cast<A_long>(effect->params().size());
        defs.reserve(effect->params().size());
        for (const auto& p : effect->params()) {
            defs.push_back(p.def());
            // The host clears `uu` before every command: the identifier it held at setup is
            // not shown again, and the change flags start clear, so that the only changes
            // taken back afterwards are those the plug-in flags.
            std::memset(&defs.back().uu, 0, sizeof defs.back().uu);
        }
        if (!defs.empty()) {
            defs[0].u.ld = *in_world.get();
        }
        for (auto& d : defs) params.push_back(&d);
    }
    params.push_back(nullptr);

    PF_OutData out_data{};
    host_.GuardBuffer(out_data.return_msg, sizeof out_data.return_msg);

    try {
        report.result =
            entry_points_.effect_main(cmd, &in_data, &out_data, params.data(), output, extra);
    } catch (...) {
        ledger.Violation(std::string(report.command) + ": an exception crossed the entry point");
        report.result = PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    host_.GuardBuffer(nullptr, 0);

    // Values the plug-in changed come back flagged; unflagged changes to the records are not
    // taken.
    if (effect) {
        for (std::size_t i = 1; i < defs.size(); ++i) {
            if (defs[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) {
                report.changed_params.push_back(static_cast<A_long>(i));
                HostParam& kept = effect->params()[i];
                kept.def().u = defs[i].u;
                HostParam updated(kept.def());
                updated.match_name = kept.match_name;
                updated.hidden = kept.hidden;
                kept = updated;
            }
        }
    }

    report.return_msg.assign(out_data.return_msg,
                             strnlen(out_data.return_msg, sizeof out_data.return_msg));
    report.out_flags = out_data.out_flags;
    report.out_flags2 = out_data.out_flags2;
    report.my_version = out_data.my_version;
    if (cmd == PF_Cmd_GLOBAL_SETUP && out_data.global_data) {
        if (host_.handles().IsLive(out_data.global_data)) {
            host_.handles().AdoptByHost(out_data.global_data);
            global_data_ = out_data.global_data;
        } else {
            ledger.Violation("PF_Cmd_GLOBAL_SETUP: global data is not a live host handle");
        }
    }
    if (cmd == PF_Cmd_PARAMS_SETUP) declared_num_params_ = out_data.num_params;
    if (take_back) take_back();

    report.leftovers = ledger.Live();
    // An undo group the command left open is among its leftovers; the host then closes
    // it (the log keeps it as not closed), so that every command starts with none open
    // and ending a group started by an earlier command is caught as ending none.
    for (RefId ref : host_.project().CloseLeftOpenUndoGroups()) ledger.Adopt(ref);
    report.violations.assign(
        ledger.Violations().begin() + static_cast<std::ptrdiff_t>(violations_before),
        ledger.Violations().end());
    report.declined.assign(
        ledger.DeclinedCalls().begin() + static_cast<std::ptrdiff_t>(declined_before),
        ledger.DeclinedCalls().end());
    report.key_events.assign(host_.key_events().begin() + static_cast<std::ptrdiff_t>(keys_before),
                             host_.key_events().end());
    return report;
}

CommandReport Session::GlobalSetup() {
    return Send(PF_Cmd_GLOBAL_SETUP, nullptr, nullptr);
}

CommandReport Session::About() {
    return Send(PF_Cmd_ABOUT, nullptr, nullptr);
}

CommandReport Session::ParamsSetup() {
    declared_.clear();
    custom_ui_.reset();
    return Send(PF_Cmd_PARAMS_SETUP, nullptr, nullptr);
}

PF_Err Session::AddParam(PF_ParamIndex index, const PF_ParamDef& def) {
    const auto next = static_cast<PF_ParamIndex>(declared_.size() + 1);
    if (index != -1 && index != next) return PF_Err_INVALID_INDEX;
    HostParam param(def);
    char match_name[64];
    std::snprintf(match_name, sizeof match_name, "%s-%04d", registration_.match_name.c_str(),
                  static_cast<int>(declared_.size() + 1));
    param.match_name = match_name;
    if (def.param_type == PF_Param_ARBITRARY_DATA && def.u.arb_d.dephault) {
        // The default value becomes the host's.
        host_.handles().AdoptByHost(def.u.arb_d.dephault);
    }
    declared_.push_back(std::move(param));
    return PF_Err_NONE;
}

PF_Err Session::RegisterUI(const PF_CustomUIInfo& info) {
    custom_ui_ = info;
    return PF_Err_NONE;
}

EffectInstance& Session::Apply(Layer& layer) {
    EffectInstance& effect = layer.AddEffect(registration_.match_name, registration_.name);
    Instantiate(effect);
    return effect;
}

void Session::Instantiate(EffectInstance& effect) {
    PF_ParamDef input{};
    input.param_type = PF_Param_LAYER;
    effect.params().clear();
    effect.params().emplace_back(input);
    for (const auto& p : declared_) effect.params().push_back(p);
    effect.AttachParamStreams();
    // Arbitrary-data values come from their stored flat form when the project holds
    // one, else as copies of the default; the plug-in makes both.
    for (std::size_t i = 1; i < effect.params().size(); ++i) {
        HostParam& param = effect.params()[i];
        PF_ParamDef& def = param.def();
        if (def.param_type != PF_Param_ARBITRARY_DATA) continue;
        PF_ArbParamsExtra extra{};
        extra.id = def.u.arb_d.id;
        PF_ArbitraryH value = nullptr;
        if (!param.flat.empty()) {
            extra.which_function = PF_Arbitrary_UNFLATTEN_FUNC;
            extra.u.unflatten_func_params.refconPV = def.u.arb_d.refconPV;
            extra.u.unflatten_func_params.buf_sizeLu = static_cast<A_u_long>(param.flat.size());
            extra.u.unflatten_func_params.flat_dataPV = param.flat.data();
            extra.u.unflatten_func_params.arbPH = &value;
        } else if (def.u.arb_d.dephault) {
            extra.which_function = PF_Arbitrary_COPY_FUNC;
            extra.u.copy_func_params.refconPV = def.u.arb_d.refconPV;
            extra.u.copy_func_params.src_arbH = def.u.arb_d.dephault;
            extra.u.copy_func_params.dst_arbPH = &value;
        } else {
            continue;
        }
        CommandReport report = Arbitrary(&effect, extra);
        if (report.result == PF_Err_NONE && value && host_.handles().IsLive(value)) {
            effect.params()[i].def().u.arb_d.value = value;
        }
    }
}

CommandReport Session::FlattenValues() {
    CommandReport last;
    for (const auto& item : host_.project().items()) {
        if (item->kind() != ItemKind::Composition) continue;
        for (Layer* layer : static_cast<Composition&>(*item).layers()) {
            for (auto& effect : layer->effects()) {
                if (effect->match_name() != registration_.match_name) continue;
                for (HostParam& param : effect->params()) {
                    const PF_ParamDef& def = param.def();
                    if (def.param_type != PF_Param_ARBITRARY_DATA || !def.u.arb_d.value) continue;
                    A_u_long size = 0;
                    PF_ArbParamsExtra extra{};
                    extra.id = def.u.arb_d.id;
                    extra.which_function = PF_Arbitrary_FLAT_SIZE_FUNC;
                    extra.u.flat_size_func_params.refconPV = def.u.arb_d.refconPV;
                    extra.u.flat_size_func_params.arbH = def.u.arb_d.value;
                    extra.u.flat_size_func_params.flat_data_sizePLu = &size;
                    last = Arbitrary(effect.get(), extra);
                    if (last.result != PF_Err_NONE || size > (1u << 20)) return last;
                    std::vector<std::uint8_t> flat(size);
                    extra.which_function = PF_Arbitrary_FLATTEN_FUNC;
                    extra.u.flatten_func_params.refconPV = def.u.arb_d.refconPV;
                    extra.u.flatten_func_params.arbH = def.u.arb_d.value;
                    extra.u.flatten_func_params.buf_sizeLu = size;
                    extra.u.flatten_func_params.flat_dataPV = flat.data();
                    last = Arbitrary(effect.get(), extra);
                    if (last.result != PF_Err_NONE) return last;
                    param.flat = std::move(flat);
                }
            }
        }
    }
    return last;
}

EffectInstance* Session::FindEffect(const std::string& layer_name) {
    for (const auto& item : host_.project().items()) {
        if (item->kind() != ItemKind::Composition) continue;
        for (Layer* layer : static_cast<Composition&>(*item).layers()) {
            if (!layer_name.empty() && layer->name() != layer_name) continue;
            for (auto& effect : layer->effects()) {
                if (effect->match_name() == registration_.match_name) return effect.get();
            }
        }
    }
    return nullptr;
}

CommandReport Session::Render(EffectInstance& effect, World& input, World& output) {
    return Send(PF_Cmd_RENDER, &effect, nullptr, output.get(), &input);
}

CommandReport Session::SmartPreRender(EffectInstance& effect, const PF_RenderRequest& request,
                                      const CheckoutAnswer& answer, PF_PreRenderOutput* output) {
    PF_PreRenderInput input{};
    input.output_request = request;
    input.bitdepth = 8;
    PF_PreRenderCallbacks callbacks{};
    callbacks.checkout_layer = SessionCallbacks::CheckoutLayer;
    callbacks.GuidMixInPtr = SessionCallbacks::GuidMixIn;
    PF_PreRenderExtra extra{};
    extra.input = &input;
    extra.output = output;
    extra.cb = &callbacks;
    checkout_answer_ = &answer;
    layer_checkouts_.clear();
    CommandReport report = Send(PF_Cmd_SMART_PRE_RENDER, &effect, &extra);
    checkout_answer_ = nullptr;
    prerendered_[&effect] = layer_checkouts_;
    return report;
}

CommandReport Session::SmartRender(EffectInstance& effect, World& input, World& output,
                                   const PixelAnswer& answer) {
    PF_SmartRenderInput render_input{};
    render_input.bitdepth = 8;
    PF_SmartRenderCallbacks callbacks{};
    callbacks.checkout_layer_pixels = SessionCallbacks::CheckoutLayerPixels;
    callbacks.checkin_layer_pixels = SessionCallbacks::CheckinLayerPixels;
    callbacks.checkout_output = SessionCallbacks::CheckoutOutput;
    PF_SmartRenderExtra extra{};
    extra.input = &render_input;
    extra.cb = &callbacks;
    pixel_answer_ = &answer;
    render_input_ = &input;
    render_output_ = &output;
    rendering_ = &effect;
    CommandReport report = Send(PF_Cmd_SMART_RENDER, &effect, &extra, nullptr, &input);
    rendering_ = nullptr;
    // What the plug-in did not check in, the host takes back after the call.
    for (const auto& [id, ref] : pixel_checkouts_) host_.ledger().Adopt(ref);
    pixel_checkouts_.clear();
    pixel_answer_ = nullptr;
    render_input_ = render_output_ = nullptr;
    return report;
}

CommandReport Session::Arbitrary(EffectInstance* effect, PF_ArbParamsExtra& extra) {
    // A handle the plug-in puts into the host's slot becomes the host's.
    PF_ArbitraryH* slot = nullptr;
    switch (extra.which_function) {
        case PF_Arbitrary_NEW_FUNC:
            slot = extra.u.new_func_params.arbPH;
            break;
        case PF_Arbitrary_COPY_FUNC:
            slot = extra.u.copy_func_params.dst_arbPH;
            break;
        case PF_Arbitrary_UNFLATTEN_FUNC:
            slot = extra.u.unflatten_func_params.arbPH;
            break;
        default:
            break;
    }
    PF_ArbitraryH before = slot ? *slot : nullptr;
    return Send(PF_Cmd_ARBITRARY_CALLBACK, effect, &extra, nullptr, nullptr, [&] {
        if (slot && *slot && *slot != before && host_.handles().IsLive(*slot)) {
            host_.handles().AdoptByHost(*slot);
        }
    });
}

CommandReport Session::Event(EffectInstance& effect, PF_EventExtra& event) {
    // The host sends every event with a context; an event given without one gets its own.
    DrawingContext* own = nullptr;
    if (!event.contextH) {
        own = &drawing().OpenContext();
        event.contextH = own->handle();
    }
    CommandReport report = Send(PF_Cmd_EVENT, &effect, &event);
    report.param = event.effect_win.index;
    if (own) drawing().Close(*own);
    return report;
}

DrawingBoard& Session::drawing() {
    if (!drawing_) drawing_ = std::make_unique<DrawingBoard>(host_);
    return *drawing_;
}

UIEventReport Session::CustomUIEvent(EffectInstance& effect, PF_EventExtra& event) {
    DrawingContext& context = drawing().OpenContext();
    event.contextH = context.handle();
    UIEventReport out;
    out.report = Event(effect, event);
    out.out_flags = event.evt_out_flags;
    drawing().Close(context);
    out.display = context.list;
    return out;
}

namespace {

// An event record of the effect controls for the control area of parameter `index`.
PF_EventExtra ControlEvent(PF_EventType type, const PF_Rect& frame, PF_ParamIndex index) {
    PF_EventExtra event{};
    event.e_type = type;
    event.effect_win.index = index;
    event.effect_win.area = PF_EA_CONTROL;
    event.effect_win.current_frame = frame;
    // The coordinate and Info-panel callbacks are not served.
    TL_DECLINE(event.cbs, layer_to_comp);
    TL_DECLINE(event.cbs, comp_to_layer);
    TL_DECLINE(event.cbs, get_comp2layer_xform);
    TL_DECLINE(event.cbs, get_layer2comp_xform);
    TL_DECLINE(event.cbs, source_to_frame);
    TL_DECLINE(event.cbs, frame_to_source);
    TL_DECLINE(event.cbs, info_draw_color);
    TL_DECLINE(event.cbs, info_draw_text);
    return event;
}

}  // namespace

UIEventReport Session::DrawEvent(EffectInstance& effect, const PF_Rect& frame,
                                 PF_ParamIndex index) {
    PF_EventExtra event = ControlEvent(PF_Event_DRAW, frame, index);
    event.u.draw.update_rect = frame;
    return CustomUIEvent(effect, event);
}

UIEventReport Session::ClickEvent(EffectInstance& effect, const PF_Rect& frame, PF_Point point,
                                  PF_ParamIndex index) {
    PF_EventExtra event = ControlEvent(PF_Event_DO_CLICK, frame, index);
    event.u.do_click.screen_point = point;
    event.u.do_click.num_clicks = 1;
    return CustomUIEvent(effect, event);
}

CommandReport Session::UserChangedParam(EffectInstance& effect, PF_ParamIndex index) {
    PF_UserChangedParamExtra extra{};
    extra.param_index = index;
    CommandReport report = Send(PF_Cmd_USER_CHANGED_PARAM, &effect, &extra);
    report.param = index;
    return report;
}

CommandReport Session::UpdateParamsUI(EffectInstance& effect) {
    return Send(PF_Cmd_UPDATE_PARAMS_UI, &effect, nullptr);
}

}  // namespace tlhost

// ---- the stand-in platform's keyboard ---------------------------------------------------------

// Where no windowing system runs, the plug-in hands the key events it synthesises to this
// function, which it finds in the process when it is loaded (the programs that load it export
// it); each event lands in the host serving the current command. Outside a command it is
// dropped, as a desktop without a focused window would drop it.
extern "C" void tl_standin_key_event(std::uint16_t virtual_key, int key_down) {
    tlhost::Host* host = tlhost::Host::Current();
    if (!host) return;
    try {
        host->key_events().push_back(tlhost::KeyEvent{virtual_key, key_down != 0});
    } catch (...) {
        // Out of memory: the event is lost, as the system would lose it.
    }
}
