// A session: the host's side of one loaded plug-in. It registers the module,
// checks it against its registration resource, sends global and parameter setup,
// applies the effect to layers, and sends any command with the records the host
// would build. After every command it reports what the plug-in left acquired.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "core/Host.h"
#include "model/World.h"
#include "session/Module.h"
#include "session/RegistrationResource.h"
#include "suites/Drawbot.h"

namespace tlhost {

// What the plug-in told the host through its registration callback.
struct Registration {
    int calls = 0;
    std::string name, match_name, category, entry_point;
    A_long kind = 0, spec_major = 0, spec_minor = 0, reserved_info = 0;
    PF_Err result = 0;
};

struct CommandReport {
    PF_Cmd cmd = PF_Cmd_ABOUT;
    std::string command;  // the command's host name, e.g. "PF_Cmd_USER_CHANGED_PARAM"
    A_long param = -1;    // the parameter concerned, where there is one
    PF_Err result = PF_Err_NONE;
    std::vector<LiveRef> leftovers;       // references still held by the plug-in
    std::vector<std::string> violations;  // breaches of the interface during the command
    std::vector<std::string> declined;    // host functions called that the host declines
    std::vector<KeyEvent> key_events;     // key events the plug-in synthesised
    std::vector<A_long> changed_params;   // parameters the plug-in flagged changed, in order
    std::string return_msg;
    PF_OutFlags out_flags = 0;
    PF_OutFlags2 out_flags2 = 0;
    A_u_long my_version = 0;
    bool clean() const { return leftovers.empty() && violations.empty(); }
};

const char* CommandName(PF_Cmd cmd);

// What an event in a custom interface gave: the command's report, the output flags the
// plug-in left in the event record, and what it drew and asked to have redrawn.
struct UIEventReport {
    CommandReport report;
    PF_EventOutFlags out_flags = 0;
    DisplayList display;
};

// The smart pre-render checkout the host answers for the input layer.
struct CheckoutAnswer {
    PF_Err error = PF_Err_NONE;
    PF_LRect result_rect{0, 0, 64, 64};
    PF_LRect max_result_rect{0, 0, 64, 64};
};

// The smart-render pixel checkouts the host answers.
struct PixelAnswer {
    PF_Err input_error = PF_Err_NONE;
    PF_Err output_error = PF_Err_NONE;
    bool null_output = false;
};

class Session {
  public:
    // Opens a module file and its registration resource; registers it, sends global
    // setup and compares the answers with the resource. Null, with the reason in
    // the load log, when the host refuses the module.
    static std::unique_ptr<Session> Load(const std::string& module_path,
                                         const std::string& resource_path,
                                         std::vector<std::string>* load_log);
    // The same over entry points already in the process (the static plug-in library).
    static std::unique_ptr<Session> Start(EntryPoints entry_points,
                                          std::vector<std::uint8_t> resource,
                                          std::vector<std::string>* load_log);

    Session(EntryPoints entry_points, std::vector<std::uint8_t> resource);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Host& host() { return host_; }
    const Registration& registration() const { return registration_; }
    const ResourceInfo& resource() const { return resource_; }
    const std::vector<std::string>& load_log() const { return load_log_; }
    PF_Handle global_data() const { return global_data_; }

    // Steps of loading, also usable one by one.
    bool Register();
    CommandReport GlobalSetup();
    bool CheckAgainstResource(const CommandReport& global_setup);

    CommandReport About();
    CommandReport ParamsSetup();
    const std::vector<HostParam>& declared_params() const { return declared_; }
    A_long declared_num_params() const { return declared_num_params_; }
    const std::optional<PF_CustomUIInfo>& custom_ui() const { return custom_ui_; }

    // Puts an instance of the effect on a layer, with the declared parameters at
    // their defaults; arbitrary-data values are made through the plug-in's copy callback.
    EffectInstance& Apply(Layer& layer);
    // Gives an effect instance of this plug-in that the project already holds (read
    // from a project file) the declared parameters and their streams; values the
    // instance's streams hold win over the defaults.
    void Instantiate(EffectInstance& effect);
    // Asks the plug-in for the flat form of every arbitrary-data value of its effects
    // (what a project file stores), as the host does before saving.
    CommandReport FlattenValues();
    // The first instance of this plug-in's effect in the project, or null.
    EffectInstance* FindEffect(const std::string& layer_name = "");

    CommandReport Render(EffectInstance& effect, World& input, World& output);
    CommandReport SmartPreRender(EffectInstance& effect, const PF_RenderRequest& request,
                                 const CheckoutAnswer& answer, PF_PreRenderOutput* output);
    // Smart render checks out only the pixels its smart pre-render checked the layer out for;
    // any other checkout id is refused as a breach.
    CommandReport SmartRender(EffectInstance& effect, World& input, World& output,
                              const PixelAnswer& answer = {});
    CommandReport Arbitrary(EffectInstance* effect, PF_ArbParamsExtra& extra);
    // An event of the effect's custom interface; one without a context handle is sent with
    // a drawing context of its own.
    CommandReport Event(EffectInstance& effect, PF_EventExtra& event);
    // An event of a custom interface in the effect controls, sent with a drawing context of
    // its own (its handle put into `event`).
    UIEventReport CustomUIEvent(EffectInstance& effect, PF_EventExtra& event);
    // A draw, or a click at `point`, in the control area of parameter `index`, whose control
    // occupies `frame` in window coordinates.
    UIEventReport DrawEvent(EffectInstance& effect, const PF_Rect& frame, PF_ParamIndex index = 41);
    UIEventReport ClickEvent(EffectInstance& effect, const PF_Rect& frame, PF_Point point,
                             PF_ParamIndex index = 41);
    // The host's drawing state: contexts, drawing objects and the application's colours.
    DrawingBoard& drawing();
    CommandReport UserChangedParam(EffectInstance& effect, PF_ParamIndex index);
    CommandReport UpdateParamsUI(EffectInstance& effect);
    // Any command, with the given extra record.
    // `take_back` runs after the plug-in returns and before the leak check: there
    // the host takes ownership of what the command handed over.
    CommandReport Send(PF_Cmd cmd, EffectInstance* effect, void* extra,
                       PF_LayerDef* output = nullptr, World* input = nullptr,
                       const std::function<void()>& take_back = {});

    // Called through the interaction callbacks while a command runs.
    PF_Err AddParam(PF_ParamIndex index, const PF_ParamDef& def);
    PF_Err RegisterUI(const PF_CustomUIInfo& info);

    // The input world handed as parameter 0 when a command names none.
    World& default_input() { return default_input_; }

  private:
    struct EffectRef;
    EffectRef* RefFor(EffectInstance* effect);

    Host host_;
    EntryPoints entry_points_;
    std::vector<std::uint8_t> resource_bytes_;
    ResourceInfo resource_;
    Registration registration_;
    std::vector<std::string> load_log_;
    PF_Handle global_data_ = nullptr;
    std::vector<HostParam> declared_;
    A_long declared_num_params_ = 0;
    std::optional<PF_CustomUIInfo> custom_ui_;
    std::vector<std::unique_ptr<EffectRef>> refs_;
    World default_input_{64, 64};
    // Per-command state read by the callbacks.
    const CheckoutAnswer* checkout_answer_ = nullptr;
    const PixelAnswer* pixel_answer_ = nullptr;
    World* render_input_ = nullptr;
    World* render_output_ = nullptr;
    std::vector<std::pair<A_long, RefId>> pixel_checkouts_;
    std::vector<A_long> layer_checkouts_;
    // The checkout ids each effect's last smart pre-render checked out: the only ones its
    // smart render may check pixels out for.
    std::map<const EffectInstance*, std::vector<A_long>> prerendered_;
    const EffectInstance* rendering_ = nullptr;
    std::unique_ptr<DrawingBoard> drawing_;

    friend struct SessionCallbacks;
};

}  // namespace tlhost

// The stand-in platform's input injection: the plug-in hands the key events it synthesises to
// this function when the process offers it (defined in Session.cpp). Programs that load the
// module export it, so that the module finds it when it is loaded.
extern "C" void tl_standin_key_event(std::uint16_t virtual_key, int key_down);
