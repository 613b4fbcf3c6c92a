// The eleven widget templates the builder writes, each by its file name.
#pragma once

class C_Widget;

struct TemplateFile {
  const char* Path;      // relative to the output folder, e.g. "widgets/button.wgt"
  C_Widget* (*Build)();  // a new template tree
};

// The templates in the order the files are written.
const TemplateFile* Templates(int& count);
