// "AEGP Proj Suite" v8 and "AEGP Item Suite" v13: the one open project and its items.
//
// The host's rules as the stand-in keeps them:
//   - there is one project, index 0; its handle is the project itself;
//   - items come in project order, the order they were read from the file or made (a
//     composition made by the plug-in comes last); after the last one the next item is null,
//     and an empty project's first item is null too;
//   - an item's name comes as UTF-16 in a memory handle the caller frees;
//   - a composition's duration and pixel aspect ratio are its own; a folder has neither
//     (A_Err_PARAMETER); footage keeps neither in this project, so asking is declined.
// The other functions are declined until something needs them.
#include <string>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

AEGP_ProjectH HandleOfProject(Project& project) {
    return reinterpret_cast<AEGP_ProjectH>(&project);
}

void CheckProject(Host& host, AEGP_ProjectH projectH) {
    if (projectH != HandleOfProject(host.project())) {
        Breach(A_Err_PARAMETER, "not the project handle the host gave");
    }
}

// ---- Proj suite -------------------------------------------------------------------------------

A_Err GetNumProjects(A_long* num) {
    return Serve("AEGP_GetNumProjects", [&](Host&) -> A_Err {
        Require(num, "count place");
        *num = 1;
        return A_Err_NONE;
    });
}

A_Err GetProjectByIndex(A_long index, AEGP_ProjectH* projectPH) {
    return Serve("AEGP_GetProjectByIndex", [&](Host& host) -> A_Err {
        Require(projectPH, "project place");
        if (index != 0) Refuse(A_Err_PARAMETER);
        *projectPH = HandleOfProject(host.project());
        return A_Err_NONE;
    });
}

AEGP_ProjSuite5 MakeProjSuite5() {
    AEGP_ProjSuite5 s{};
    s.AEGP_GetNumProjects = GetNumProjects;
    s.AEGP_GetProjectByIndex = GetProjectByIndex;
    TL_DECLINE(s, AEGP_GetProjectName);
    TL_DECLINE(s, AEGP_GetProjectPath);
    TL_DECLINE(s, AEGP_GetProjectRootFolder);
    TL_DECLINE(s, AEGP_SaveProjectToPath);
    TL_DECLINE(s, AEGP_GetProjectTimeDisplay);
    TL_DECLINE(s, AEGP_SetProjectTimeDisplay);
    TL_DECLINE(s, AEGP_ProjectIsDirty);
    TL_DECLINE(s, AEGP_SaveProjectAs);
    TL_DECLINE(s, AEGP_NewProject);
    TL_DECLINE(s, AEGP_OpenProjectFromPath);
    TL_DECLINE(s, AEGP_GetProjectBitDepth);
    TL_DECLINE(s, AEGP_SetProjectBitDepth);
    return s;
}

// ---- Item suite -------------------------------------------------------------------------------

A_Err GetFirstProjItem(AEGP_ProjectH projectH, AEGP_ItemH* itemPH) {
    return Serve("AEGP_GetFirstProjItem", [&](Host& host) -> A_Err {
        Require(itemPH, "item place");
        CheckProject(host, projectH);
        const auto& items = host.project().items();
        *itemPH = items.empty() ? nullptr : HandleOf(*items.front());
        return A_Err_NONE;
    });
}

A_Err GetNextProjItem(AEGP_ProjectH projectH, AEGP_ItemH itemH, AEGP_ItemH* nextPH) {
    return Serve("AEGP_GetNextProjItem", [&](Host& host) -> A_Err {
        Require(nextPH, "item place");
        CheckProject(host, projectH);
        const Item& item = ItemOf(host, itemH);
        const auto& items = host.project().items();
        *nextPH = nullptr;
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            if (items[i].get() == &item) {
                *nextPH = HandleOf(*items[i + 1]);
                break;
            }
        }
        return A_Err_NONE;
    });
}

A_Err GetItemType(AEGP_ItemH itemH, AEGP_ItemType* type) {
    return Serve("AEGP_GetItemType", [&](Host& host) -> A_Err {
        Require(type, "type place");
        switch (ItemOf(host, itemH).kind()) {
            case ItemKind::Folder:
                *type = AEGP_ItemType_FOLDER;
                break;
            case ItemKind::Composition:
                *type = AEGP_ItemType_COMP;
                break;
            case ItemKind::Footage:
                *type = AEGP_ItemType_FOOTAGE;
                break;
        }
        return A_Err_NONE;
    });
}

A_Err GetItemName(AEGP_PluginID, AEGP_ItemH itemH, AEGP_MemHandle* nameP) {
    return Serve("AEGP_GetItemName", [&](Host& host) -> A_Err {
        Require(nameP, "name place");
        *nameP = NewMemHandle(host, Utf16Bytes(ItemOf(host, itemH).name()), "item name");
        return A_Err_NONE;
    });
}

A_Err GetItemID(AEGP_ItemH itemH, A_long* id) {
    return Serve("AEGP_GetItemID", [&](Host& host) -> A_Err {
        Require(id, "id place");
        *id = ItemOf(host, itemH).id();
        return A_Err_NONE;
    });
}

// The composition behind an item, for the questions only compositions answer here.
Composition& CompositionItem(Host& host, AEGP_ItemH itemH, const char* function) {
    Item& item = ItemOf(host, itemH);
    if (item.kind() == ItemKind::Folder) Refuse(A_Err_PARAMETER);
    if (item.kind() == ItemKind::Footage) {
        host.ledger().Declined((std::string(function) + " (footage)").c_str());
        Refuse(kDeclinedErr);
    }
    return static_cast<Composition&>(item);
}

A_Err GetItemDuration(AEGP_ItemH itemH, A_Time* duration) {
    return Serve("AEGP_GetItemDuration", [&](Host& host) -> A_Err {
        Require(duration, "time place");
        *duration = CompositionItem(host, itemH, "AEGP_GetItemDuration").duration;
        return A_Err_NONE;
    });
}

A_Err GetItemDimensions(AEGP_ItemH itemH, A_long* width, A_long* height) {
    return Serve("AEGP_GetItemDimensions", [&](Host& host) -> A_Err {
        Require(width, "width place");
        Require(height, "height place");
        const Composition& comp = CompositionItem(host, itemH, "AEGP_GetItemDimensions");
        *width = comp.width;
        *height = comp.height;
        return A_Err_NONE;
    });
}

A_Err GetItemPixelAspectRatio(AEGP_ItemH itemH, A_Ratio* ratio) {
    return Serve("AEGP_GetItemPixelAspectRatio", [&](Host& host) -> A_Err {
        Require(ratio, "ratio place");
        *ratio = CompositionItem(host, itemH, "AEGP_GetItemPixelAspectRatio").pixel_aspect;
        return A_Err_NONE;
    });
}

AEGP_ItemSuite8 MakeItemSuite8() {
    AEGP_ItemSuite8 s{};
    s.AEGP_GetFirstProjItem = GetFirstProjItem;
    s.AEGP_GetNextProjItem = GetNextProjItem;
    TL_DECLINE(s, AEGP_GetActiveItem);
    TL_DECLINE(s, AEGP_IsItemSelected);
    TL_DECLINE(s, AEGP_SelectItem);
    s.AEGP_GetItemType = GetItemType;
    TL_DECLINE(s, AEGP_GetTypeName);
    s.AEGP_GetItemName = GetItemName;
    TL_DECLINE(s, AEGP_SetItemName);
    s.AEGP_GetItemID = GetItemID;
    TL_DECLINE(s, AEGP_GetItemFlags);
    TL_DECLINE(s, AEGP_SetItemUseProxy);
    TL_DECLINE(s, AEGP_GetItemParentFolder);
    TL_DECLINE(s, AEGP_SetItemParentFolder);
    s.AEGP_GetItemDuration = GetItemDuration;
    TL_DECLINE(s, AEGP_GetItemCurrentTime);
    s.AEGP_GetItemDimensions = GetItemDimensions;
    s.AEGP_GetItemPixelAspectRatio = GetItemPixelAspectRatio;
    TL_DECLINE(s, AEGP_DeleteItem);
    TL_DECLINE(s, AEGP_CreateNewFolder);
    TL_DECLINE(s, AEGP_SetItemCurrentTime);
    TL_DECLINE(s, AEGP_GetItemCommentLength);
    TL_DECLINE(s, AEGP_GetItemComment);
    TL_DECLINE(s, AEGP_SetItemComment);
    TL_DECLINE(s, AEGP_GetItemLabel);
    TL_DECLINE(s, AEGP_SetItemLabel);
    TL_DECLINE(s, AEGP_GetItemMRUView);
    return s;
}

}  // namespace

const AEGP_ProjSuite5* ProjSuite5Table() {
    static const AEGP_ProjSuite5 table = MakeProjSuite5();
    return &table;
}

const AEGP_ItemSuite8* ItemSuite8Table() {
    static const AEGP_ItemSuite8 table = MakeItemSuite8();
    return &table;
}

}  // namespace tlhost
