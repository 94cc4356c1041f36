#include "panel/ModulePanel.h"

#include <cstring>

#include "AE_EffectCB.h"
#include "AE_EffectSuites.h"
#include "panel/ButtonImages.h"
#include "panel/CaptionText.h"
#include "panel/ModuleTable.h"
#include "panel/PanelLayout.h"
#include "params/ParamTable.h"
#include "shell/ArbData.h"
#include "shell/ModuleRecord.h"
#include "shell/RunningError.h"
#include "shell/SuiteHandler.h"
#include "shell/SuiteHelper.h"
#include "style/Writers.h"

namespace {

constexpr DRAWBOT_ColorRGBA kCaptionColor{kCaptionGray, kCaptionGray, kCaptionGray, 1.0f};
constexpr DRAWBOT_ColorRGBA kBorderColor{kBorderGray, kBorderGray, kBorderGray, 1.0f};
constexpr float kAppColorScale = 1.0f / 65535.0f;

// The four drawing suites, released on every way out (only those that were acquired).
class HeldDrawbotSuites {
  public:
    HeldDrawbotSuites(PF_InData* in_data, PF_OutData* out_data)
        : in_data_(in_data), out_data_(out_data) {}
    ~HeldDrawbotSuites() { Release(); }
    HeldDrawbotSuites(const HeldDrawbotSuites&) = delete;
    HeldDrawbotSuites& operator=(const HeldDrawbotSuites&) = delete;

    PF_Err Acquire() { return AEFX_AcquireDrawbotSuites(in_data_, out_data_, &suites_); }
    // Always succeeds; a second call has nothing left to release.
    void Release() { AEFX_ReleaseDrawbotSuites(in_data_, out_data_, &suites_); }

    const DRAWBOT_DrawbotSuite1* draw() const { return suites_.drawbot_suiteP; }
    const DRAWBOT_SupplierSuite1* supplier() const { return suites_.supplier_suiteP; }
    const DRAWBOT_SurfaceSuite2* surface() const { return suites_.surface_suiteP; }
    const DRAWBOT_PathSuite1* path() const { return suites_.path_suiteP; }

  private:
    PF_InData* in_data_;
    PF_OutData* out_data_;
    DrawbotSuites suites_{};
};

// A pen, brush, font, path or image made by the supplier, given back exactly once: by Release
// (to feed a running error) or, on any other way out, by the destructor.
template <class Ref>
class HeldObject {
  public:
    explicit HeldObject(const HeldDrawbotSuites& drawbot) : drawbot_(drawbot) {}
    ~HeldObject() { Release(); }
    HeldObject(const HeldObject&) = delete;
    HeldObject& operator=(const HeldObject&) = delete;

    Ref* put() { return &ref_; }
    Ref get() const { return ref_; }

    // The host's answer to the release; 0 when nothing is held.
    SPErr Release() {
        if (ref_ == nullptr) return kSPNoError;
        Ref held = ref_;
        ref_ = nullptr;
        return drawbot_.supplier()->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(held));
    }

  private:
    const HeldDrawbotSuites& drawbot_;
    Ref ref_ = nullptr;
};

// The scratch handle a button image is copied into before the supplier reads it.
class ScratchImage {
  public:
    explicit ScratchImage(const PF_HandleSuite1* handles) : handles_(handles) {}
    ~ScratchImage() { Dispose(); }
    ScratchImage(const ScratchImage&) = delete;
    ScratchImage& operator=(const ScratchImage&) = delete;

    // Makes and locks a handle holding a copy of `image`.
    A_Err Fill(const A_u_char* image) {
        handle_ = handles_->host_new_handle(kButtonImageBytes);
        if (handle_ == nullptr) return PF_Err_OUT_OF_MEMORY;
        data_ = handles_->host_lock_handle(handle_);
        if (data_ == nullptr) return PF_Err_OUT_OF_MEMORY;
        std::memcpy(data_, image, kButtonImageBytes);
        return A_Err_NONE;
    }
    const void* data() const { return data_; }

    void Dispose() {
        if (handle_ == nullptr) return;
        handles_->host_unlock_handle(handle_);
        handles_->host_dispose_handle(handle_);
        handle_ = nullptr;
        data_ = nullptr;
    }

  private:
    const PF_HandleSuite1* handles_;
    PF_Handle handle_ = nullptr;
    void* data_ = nullptr;
};

// What the drawing steps share.
struct Painter {
    PF_InData* in_data;
    AEGP_SuiteHandler& suites;
    const HeldDrawbotSuites& drawbot;
    DRAWBOT_SupplierRef supplier = nullptr;
    DRAWBOT_SurfaceRef surface = nullptr;
    PF_Point origin{};
};

// Button `index`: its image (pressed when the module is on) and its caption.
A_Err DrawButton(const Painter& p, A_long index, bool on, DRAWBOT_FontRef font) {
    RunningError err;
    ScratchImage scratch(p.suites.HandleSuite1());
    HeldObject<DRAWBOT_ImageRef> image(p.drawbot);
    HeldObject<DRAWBOT_BrushRef> brush(p.drawbot);
    DRAWBOT_UTF16Char caption[kCaptionCapacity] = {};
    const DRAWBOT_PointF32 image_origin = ImageOrigin(p.origin, index);
    const DRAWBOT_PointF32 anchor = CaptionAnchor(p.origin, index);

    err.Then([&] { return scratch.Fill(on ? imgsPressedData[index] : imgsData[index]); })
        .Then([&] {
            return p.drawbot.supplier()->NewImageFromBuffer(
                p.supplier, kButtonImageSide, kButtonImageSide, kButtonImageRowBytes,
                kDRAWBOT_PixelLayout_32BGRA_Straight, scratch.data(), image.put());
        })
        .Then([&] {
            return p.drawbot.surface()->DrawImage(p.surface, image.get(), &image_origin, 1.0f);
        })
        .Then([&] {
            const bool converted =
                CaptionToUTF16(moduleShortNames[index], caption, kCaptionCapacity);
            return converted ? A_Err{A_Err_NONE} : A_Err{PF_Err_INTERNAL_STRUCT_DAMAGED};
        })
        .Then(
            [&] { return p.drawbot.supplier()->NewBrush(p.supplier, &kCaptionColor, brush.put()); })
        .Then([&] {
            return p.drawbot.surface()->DrawString(p.surface, brush.get(), font, caption, &anchor,
                                                   kDRAWBOT_TextAlignment_Center,
                                                   kDRAWBOT_TextTruncation_None, 0.0f);
        });
    err.Release(image.Release());
    err.Release(brush.Release());
    scratch.Dispose();
    return err.get();
}

// The ten button borders, with one pen; a path per border.
void DrawBorders(const Painter& p, RunningError& err, HeldObject<DRAWBOT_PenRef>& pen) {
    err.Then([&] {
        return p.drawbot.supplier()->NewPen(p.supplier, &kBorderColor, kBorderWidth, pen.put());
    });
    for (A_long i = 0; i < kModuleCount && err.ok(); ++i) {
        HeldObject<DRAWBOT_PathRef> path(p.drawbot);
        const DRAWBOT_RectF32 border = BorderRect(p.origin, i);
        err.Then([&] { return p.drawbot.supplier()->NewPath(p.supplier, path.put()); })
            .Then([&] { return p.drawbot.path()->AddRect(path.get(), &border); })
            .Then(
                [&] { return p.drawbot.surface()->StrokePath(p.surface, pen.get(), path.get()); });
        err.Release(path.Release());
    }
}

// What one click switches on a connection layer, by module.
A_Err SwitchModuleShapes(PF_InData* in_data, A_long module, A_u_char on, AEGP_StreamRefH root,
                         AEGP_LayerIDVal layer_id, AEGP_LayerIDVal effect_layer_id) {
    switch (kModuleTable[module].shapes) {
        case ModuleShapes::NamedGroup: {
            A_char name[64];
            const A_Err err = FormatText(in_data, name, sizeof name, "%s", moduleNames[module]);
            if (err != A_Err_NONE) return err;
            return SetStreamVisibility(in_data, root, name, TRUE, on);
        }
        case ModuleShapes::Dashes:
            return on ? SetupDashes(in_data, root, layer_id, effect_layer_id)
                      : RemoveDashes(in_data, root, layer_id, effect_layer_id);
        case ModuleShapes::None:
            break;
    }
    return A_Err_NONE;
}

}  // namespace

PF_Err AcquireBackgroundColor(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[],
                              PF_EventExtra* /*event*/, DRAWBOT_ColorRGBA* color) {
    void* suite = nullptr;
    PF_Err err =
        AEFX_AcquireSuite(in_data, out_data, kPFAppSuite, kPFAppSuiteVersion4, nullptr, &suite);
    if (err != PF_Err_NONE) return err;
    PF_App_Color app{};
    err = static_cast<PFAppSuite4*>(suite)->PF_AppGetBgColor(&app);
    if (err == PF_Err_NONE) {
        color->red = static_cast<float>(app.red) * kAppColorScale;
        color->green = static_cast<float>(app.green) * kAppColorScale;
        color->blue = static_cast<float>(app.blue) * kAppColorScale;
        color->alpha = 1.0f;
    }
    const PF_Err released =
        AEFX_ReleaseSuite(in_data, out_data, kPFAppSuite, kPFAppSuiteVersion4, nullptr);
    return err != PF_Err_NONE ? err : released;
}

PF_Err RefreshCustomUI(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra* event) {
    PF_Err err = PF_Err_NONE;
    {
        AEFX_SuiteScoper<PFAppSuite4> app(in_data, kPFAppSuite, kPFAppSuiteVersion4);
        err = app->PF_InvalidateRect(event->contextH, &event->effect_win.current_frame);
    }
    event->evt_out_flags |= PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW;
    params[kParamModules]->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
    return err;
}

PF_Err DrawEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* /*output*/, PF_EventExtra* event) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    HeldDrawbotSuites drawbot(in_data, out_data);
    HeldObject<DRAWBOT_FontRef> font(drawbot);
    HeldObject<DRAWBOT_PenRef> pen(drawbot);
    DRAWBOT_DrawRef drawing = nullptr;

    // The drawing suites, then the drawing reference of the event's context.
    err.Then([&] { return drawbot.Acquire(); }).Then([&] {
        AEFX_SuiteScoper<PF_EffectCustomUISuite1> custom_ui(
            in_data, kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, out_data);
        return custom_ui->PF_GetDrawingReference(event->contextH, &drawing);
    });

    // A context that comes without a drawing reference is not one to draw in.
    if (err.ok() && drawing != nullptr) {
        Painter p{in_data, suites, drawbot};
        err.Then([&] { return drawbot.draw()->GetSupplier(drawing, &p.supplier); }).Then([&] {
            return drawbot.draw()->GetSurface(drawing, &p.surface);
        });

        DRAWBOT_ColorRGBA background{};
        err.Then(
            [&] { return AcquireBackgroundColor(in_data, out_data, params, event, &background); });

        if (event->effect_win.area == PF_EA_CONTROL) {
            const PF_Rect& frame = event->effect_win.current_frame;
            p.origin = PF_Point{frame.left, frame.top};
            // In double: the differences of 32-bit coordinates need not fit 32 bits.
            const DRAWBOT_RectF32 panel{
                static_cast<float>(frame.left), static_cast<float>(frame.top),
                static_cast<float>(static_cast<double>(frame.right) - frame.left),
                static_cast<float>(static_cast<double>(frame.bottom) - frame.top + 1)};
            err.Then([&] { return drawbot.surface()->PaintRect(p.surface, &background, &panel); });

            float default_size = 0.0f;
            err.Then([&] {
                   return drawbot.supplier()->GetDefaultFontSize(p.supplier, &default_size);
               })
                .Then([&] {
                    return drawbot.supplier()->NewDefaultFont(
                        p.supplier, kCaptionFontScale * default_size, font.put());
                });

            // Buttons follow the record alone; without it only the background and the borders
            // are drawn, and the record's failure is the result.
            RecordLock record(in_data, params[kParamModules]->u.arb_d.value);
            if (record.bytes() != nullptr) {
                for (A_long i = 0; i < kModuleCount && err.ok(); ++i) {
                    const bool on = record.bytes()[i] != 0;
                    err.Then([&] { return DrawButton(p, i, on, font.get()); });
                }
            }
            if (err.ok()) DrawBorders(p, err, pen);

            err.Release(font.Release());
            err.Release(pen.Release());
            record.Unlock();
            err.Release(record.error());
        }
    }

    drawbot.Release();
    event->evt_out_flags = PF_EO_HANDLED_EVENT;
    return err.get();
}

PF_Err DoClick(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ParamDef* params[],
               PF_LayerDef* /*output*/, PF_EventExtra* event) {
    RecordLock record(in_data, params[kParamModules]->u.arb_d.value);
    A_u_char* state = record.bytes();
    if (state == nullptr) return record.error();
    if (event->effect_win.area != PF_EA_CONTROL) return PF_Err_NONE;

    const PF_Rect& frame = event->effect_win.current_frame;
    const A_long module =
        ButtonAtPoint(PF_Point{frame.left, frame.top}, event->u.do_click.screen_point);
    if (module < 0) return PF_Err_NONE;

    // The record and the checkbox change, and both are flagged changed for the host, before
    // anything that can fail or throw: a failure further on leaves the new module state in
    // place, and the host never keeps one of the pair without the other. Any non-zero byte
    // counts as on, so it turns off.
    const A_u_char on = state[module] == 0 ? 1 : 0;
    state[module] = on;
    params[kParamModules]->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
    PF_ParamDef* checkbox = params[kModuleTable[module].enable_param];
    checkbox->u.bd.value = on;
    checkbox->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;

    RunningError err;
    err.Then([&] { return RefreshCustomUI(in_data, params, event); });

    // The module's shapes on every connection layer; layers done before a failure keep their
    // changes.
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunOnConnectionLayers(
        in_data, suites, err,
        [&](AEGP_StreamRefH root, AEGP_LayerIDVal layer_id, AEGP_LayerIDVal effect_layer_id) {
            return SwitchModuleShapes(in_data, module, on, root, layer_id, effect_layer_id);
        });

    record.Unlock();
    return err.get();
}
