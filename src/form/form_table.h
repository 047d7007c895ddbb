#pragma once
#include <array>

#include "form/element.h"

// Each window is one table of rows:
//   X(member, system name, kind, caption, left, top, width, height, look, start)
//   ARRAY(member, name pattern, first number, count, kind, geometry(i), look, start)
// and these expand a table into the form's members, their start values and
// the visit of every element in table order.

#define PASTEL_DECLARE_ELEMENT(member, ...) Element member;
#define PASTEL_DECLARE_ARRAY(member, pattern, first, count, ...) std::array<Element, count> member;
#define PASTEL_FORM_MEMBERS(TABLE) TABLE(PASTEL_DECLARE_ELEMENT, PASTEL_DECLARE_ARRAY)

#define PASTEL_INIT_ELEMENT(member, name, kind, caption, l, t, w, h, look, start)           \
  ::pastel::initElement(member, QStringLiteral(name), ::pastel::ElementKind::kind, caption, \
                        ::pastel::Rect{l, t, w, h}, look, ::pastel::Start::start);
#define PASTEL_INIT_ARRAY(member, pattern, first, count, kind, geometry, look, start)    \
  for (int i_ = 0; i_ < (count); ++i_)                                                   \
    ::pastel::initElement(member[size_t(i_)], QStringLiteral(pattern).arg((first) + i_), \
                          ::pastel::ElementKind::kind, "", geometry(i_), look,           \
                          ::pastel::Start::start);
#define PASTEL_FORM_INIT(TABLE) TABLE(PASTEL_INIT_ELEMENT, PASTEL_INIT_ARRAY)

#define PASTEL_VISIT_ELEMENT(member, ...) f(member);
#define PASTEL_VISIT_ARRAY(member, ...) \
  for (auto& e_ : member) f(e_);
#define PASTEL_FORM_FOR_EACH(TABLE) TABLE(PASTEL_VISIT_ELEMENT, PASTEL_VISIT_ARRAY)
