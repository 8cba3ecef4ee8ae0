#pragma once
// The editor's side of the model's view seam: the model asks for a refresh of the views of
// one kind, and the frame that shows that kind does it. Kinds whose tab is not built yet
// keep the model's silent default.
#include "model/Tileset.h"

class EditorViews : public ModelViews {
public:
    void FillGeneral(CGeneral& general) override;
    void ReadGeneralFromFrame(CGeneral& general) override;
};
