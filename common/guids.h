#pragma once
// The GUID table: the class, interface and type-library identifiers through which the
// deliverables find each other. Compiled into every deliverable that creates or serves these
// classes (all but the profile store). The values are ours; documents store the class ids, so
// they never change.
#include "platform/com/guid.h"

// Spectrum control module (NELVAR): the control and its property pages.
// The spectrum control.
inline constexpr plat::ole::Guid CLSID_Spc = plat::ole::guid("{38BD0B4F-5DBF-4F5B-A8A0-AC461FC5DA28}");
// A second spectrum module, asked by the about box; no deliverable registers it.
inline constexpr plat::ole::Guid CLSID_SpcModule2 = plat::ole::guid("{74825ACC-6A64-4221-8538-9FB66AB7A7FA}");
inline constexpr plat::ole::Guid CLSID_GeneralPropPage = plat::ole::guid("{DFD88AFB-2A67-4F55-876D-189D95CA7E6E}");
inline constexpr plat::ole::Guid CLSID_SpectrumPropPage = plat::ole::guid("{8071EB50-11F0-4A5A-B87F-E2B7027778B0}");
inline constexpr plat::ole::Guid CLSID_ScalePropPage = plat::ole::guid("{F2AB0006-DF13-4CF9-8834-8EED33805499}");
inline constexpr plat::ole::Guid CLSID_ScaleYPropPage = plat::ole::guid("{045C62BF-3793-4D3A-8141-C2C56D4090C3}");
inline constexpr plat::ole::Guid CLSID_IntegralPropPage = plat::ole::guid("{C9A03A2B-9A84-40C2-9B87-94C48763B6B9}");
inline constexpr plat::ole::Guid CLSID_IntegSumsPropPage = plat::ole::guid("{F8A52469-FD94-48C5-A186-67A37E4272DB}");
inline constexpr plat::ole::Guid CLSID_TPeaksPropPage = plat::ole::guid("{F6DBA49B-E891-4AF2-9330-86F926459E4C}");
inline constexpr plat::ole::Guid CLSID_MPeaksPropPage = plat::ole::guid("{FF795C2B-4690-48C4-8790-251011566800}");
inline constexpr plat::ole::Guid CLSID_BaselinePropPage = plat::ole::guid("{9B6A94BE-C33A-4753-B329-D4D530BBE029}");
inline constexpr plat::ole::Guid CLSID_BorderPropPage = plat::ole::guid("{1F08D4F8-EF22-49C8-B06A-E59EC3768AF0}");
inline constexpr plat::ole::Guid CLSID_TextPropPage = plat::ole::guid("{C318FC3D-9A31-4A48-9E2B-BE8871C98EF1}");
inline constexpr plat::ole::Guid CLSID_TitlePropPage = plat::ole::guid("{D68FB133-E5DF-40BC-93E2-E6669B666F92}");
inline constexpr plat::ole::Guid CLSID_MiscPropPage = plat::ole::guid("{473D1ED4-75FD-488E-846C-1A45759DFDC5}");

// Auxiliary controls module (KARVEL): the controls and their property pages.
inline constexpr plat::ole::Guid CLSID_KnobControl = plat::ole::guid("{E1B845AA-4CB2-46DF-9DD1-CE318E6FF41A}");
inline constexpr plat::ole::Guid CLSID_SoftButton = plat::ole::guid("{B4B94FC3-BB5E-4FCE-BF2C-93DC203E7C0F}");
inline constexpr plat::ole::Guid CLSID_TableControl = plat::ole::guid("{0C8C0F30-3163-4022-914B-51D58D885DF4}");
inline constexpr plat::ole::Guid CLSID_StructureControl = plat::ole::guid("{ACE46160-30C3-4B3B-B6AF-46AF51261904}");
inline constexpr plat::ole::Guid CLSID_ScrollControl = plat::ole::guid("{773005D0-69F8-4191-BFA1-69DD8BC9E3DA}");
inline constexpr plat::ole::Guid CLSID_KnobPropPage = plat::ole::guid("{32C61E18-6D10-46CA-B1E5-6D9ED6F0CD79}");
inline constexpr plat::ole::Guid CLSID_SoftButtonPropPage = plat::ole::guid("{6EDAB18A-F357-4941-A2AC-6495B4CD347F}");
inline constexpr plat::ole::Guid CLSID_TablePropPage1 = plat::ole::guid("{152EF388-5898-4A83-BB6D-C5E822A6BEA3}");
inline constexpr plat::ole::Guid CLSID_TablePropPage2 = plat::ole::guid("{C0D65DC6-02A9-4521-90AB-70AB0EB4D824}");
inline constexpr plat::ole::Guid CLSID_StructPropPage = plat::ole::guid("{D3CC6A43-E2D4-482A-B54D-AEE9DE4E72DC}");
inline constexpr plat::ole::Guid CLSID_FieldsPropPage = plat::ole::guid("{6C4B1BA0-B248-43DE-A9E6-2D67D50D7E81}");

// The main program.
// The main program's document as an OLE server object.
inline constexpr plat::ole::Guid CLSID_RodizoraDocument = plat::ole::guid("{B741478B-049A-44B1-9FC4-121742B8D880}");

// Custom interfaces.
inline constexpr plat::ole::Guid IID_ISpectrumControl = plat::ole::guid("{71381949-6ED1-4D4A-A582-7BA58AE482B2}");
inline constexpr plat::ole::Guid IID_ISaItem = plat::ole::guid("{9487CAA6-73F5-466A-813C-435E51134BB8}");
inline constexpr plat::ole::Guid IID_IOrvClientSite = plat::ole::guid("{715FFEFD-28ED-4E53-B4AF-C8566D3A1939}");
inline constexpr plat::ole::Guid IID_ITableControl = plat::ole::guid("{F05D6249-0C9F-4F24-895E-D60F2240C88F}");

// The spectrum control's type library and its dispatch and event interfaces.
inline constexpr plat::ole::Guid LIBID_SpcLib = plat::ole::guid("{9E147B6C-4417-4011-B7F0-3472FC6201B5}");
inline constexpr plat::ole::Guid DIID__DSpcControl = plat::ole::guid("{F362C320-164A-4618-BF38-3730431AF919}");
inline constexpr plat::ole::Guid DIID__DSpcEvents = plat::ole::guid("{4B54C8DE-CDB4-4E28-A7DD-06B2019891AD}");

// The auxiliary controls' type library and their dispatch and event interfaces.
inline constexpr plat::ole::Guid LIBID_TAVRINLib = plat::ole::guid("{2C32DE95-B2B3-4DB7-AF65-3F39EB3A3BF0}");
inline constexpr plat::ole::Guid DIID__DKnobControl = plat::ole::guid("{2D4A0E97-330E-4C6A-A163-7F56A0F3461E}");
inline constexpr plat::ole::Guid DIID__DKnobEvents = plat::ole::guid("{190BB617-6E46-4F23-AC7B-308EFFDAF99D}");
inline constexpr plat::ole::Guid DIID__DSoftButton = plat::ole::guid("{8AFC74D8-8265-40E6-BF5A-4232CCEC8478}");
inline constexpr plat::ole::Guid DIID__DSoftButtonEvents = plat::ole::guid("{655A2989-E0D8-47D4-ABC6-8BB9EA7FBE2D}");
inline constexpr plat::ole::Guid DIID__DTableControl = plat::ole::guid("{2FEF9CCB-AB95-48BF-BA56-FE56E3EE0872}");
inline constexpr plat::ole::Guid DIID__DTableEvents = plat::ole::guid("{925D16B4-CEDA-47C1-9709-06F7360CC6ED}");
inline constexpr plat::ole::Guid DIID__DStructureControl = plat::ole::guid("{D746220A-366A-45A6-B5A0-9B0995F1F708}");
inline constexpr plat::ole::Guid DIID__DStructureEvents = plat::ole::guid("{ACA889DF-C535-42B7-9C3A-B374E37C9A05}");
inline constexpr plat::ole::Guid DIID__DScrollControl = plat::ole::guid("{0509C9E2-E55C-4AF0-B985-11243354E2F4}");
inline constexpr plat::ole::Guid DIID__DScrollEvents = plat::ole::guid("{4A3AFECA-7EB2-47D7-8406-26426B6F0704}");

// Every entry by name, for checks and diagnostics.
struct NamedGuid {
  const char* name;
  const plat::ole::Guid* guid;
};
inline constexpr NamedGuid kGuidTable[] = {
    {"CLSID_Spc", &CLSID_Spc},
    {"CLSID_SpcModule2", &CLSID_SpcModule2},
    {"CLSID_GeneralPropPage", &CLSID_GeneralPropPage},
    {"CLSID_SpectrumPropPage", &CLSID_SpectrumPropPage},
    {"CLSID_ScalePropPage", &CLSID_ScalePropPage},
    {"CLSID_ScaleYPropPage", &CLSID_ScaleYPropPage},
    {"CLSID_IntegralPropPage", &CLSID_IntegralPropPage},
    {"CLSID_IntegSumsPropPage", &CLSID_IntegSumsPropPage},
    {"CLSID_TPeaksPropPage", &CLSID_TPeaksPropPage},
    {"CLSID_MPeaksPropPage", &CLSID_MPeaksPropPage},
    {"CLSID_BaselinePropPage", &CLSID_BaselinePropPage},
    {"CLSID_BorderPropPage", &CLSID_BorderPropPage},
    {"CLSID_TextPropPage", &CLSID_TextPropPage},
    {"CLSID_TitlePropPage", &CLSID_TitlePropPage},
    {"CLSID_MiscPropPage", &CLSID_MiscPropPage},
    {"CLSID_KnobControl", &CLSID_KnobControl},
    {"CLSID_SoftButton", &CLSID_SoftButton},
    {"CLSID_TableControl", &CLSID_TableControl},
    {"CLSID_StructureControl", &CLSID_StructureControl},
    {"CLSID_ScrollControl", &CLSID_ScrollControl},
    {"CLSID_KnobPropPage", &CLSID_KnobPropPage},
    {"CLSID_SoftButtonPropPage", &CLSID_SoftButtonPropPage},
    {"CLSID_TablePropPage1", &CLSID_TablePropPage1},
    {"CLSID_TablePropPage2", &CLSID_TablePropPage2},
    {"CLSID_StructPropPage", &CLSID_StructPropPage},
    {"CLSID_FieldsPropPage", &CLSID_FieldsPropPage},
    {"CLSID_RodizoraDocument", &CLSID_RodizoraDocument},
    {"IID_ISpectrumControl", &IID_ISpectrumControl},
    {"IID_ISaItem", &IID_ISaItem},
    {"IID_IOrvClientSite", &IID_IOrvClientSite},
    {"IID_ITableControl", &IID_ITableControl},
    {"LIBID_SpcLib", &LIBID_SpcLib},
    {"DIID__DSpcControl", &DIID__DSpcControl},
    {"DIID__DSpcEvents", &DIID__DSpcEvents},
    {"LIBID_TAVRINLib", &LIBID_TAVRINLib},
    {"DIID__DKnobControl", &DIID__DKnobControl},
    {"DIID__DKnobEvents", &DIID__DKnobEvents},
    {"DIID__DSoftButton", &DIID__DSoftButton},
    {"DIID__DSoftButtonEvents", &DIID__DSoftButtonEvents},
    {"DIID__DTableControl", &DIID__DTableControl},
    {"DIID__DTableEvents", &DIID__DTableEvents},
    {"DIID__DStructureControl", &DIID__DStructureControl},
    {"DIID__DStructureEvents", &DIID__DStructureEvents},
    {"DIID__DScrollControl", &DIID__DScrollControl},
    {"DIID__DScrollEvents", &DIID__DScrollEvents},
};
