// The Bezier shape's node table (see FreeShapeNodes.h).
#include "document/FreeShapeNodes.h"

#include <algorithm>
#include <cmath>

#include "document/ShapeRows.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/Math.h"
#include "rtl/SysUtils.h"

namespace {

constexpr Integer kRowCells = 25;
constexpr Integer kPropCells = 10;

Integer RoundL(long double V) { return std::isfinite((double)V) ? Integer(Round(V)) : 0; }

TPoint Lerp(const TPoint& A, const TPoint& B, long double T) {
  return TPoint(RoundL(A.X + T * (B.X - A.X)), RoundL(A.Y + T * (B.Y - A.Y)));
}

TPoint Shifted(const TPoint& P, Integer DX, Integer DY) { return TPoint(P.X + DX, P.Y + DY); }

Single Fraction(Integer V, Integer Origin, Integer Extent) {
  return Extent == 0 ? 0.0f : Single((long double)(V - Origin) / Extent);
}

Integer FromFraction(Single R, Integer Origin, Integer Extent) { return RoundL((long double)R * Extent) + Origin; }

bool Near3(const TPoint& Node, const TPoint& Pt) {
  return PointInRect(TRect(Node.X - 3, Node.Y - 3, Node.X + 3, Node.Y + 3), Pt);
}

// The point at the length of Tangent from Node, on the far side of Node
// from Dragged; Tangent unchanged when Dragged is on the node or the
// tangent has no length.
TPoint Opposite(const TPoint& Dragged, const TPoint& Node, const TPoint& Tangent) {
  const Single l = CalcDistance(Node, Tangent);
  if ((Dragged.X == Node.X && Dragged.Y == Node.Y) || l <= 0) return Tangent;
  TFloatPoint f;
  CalcExtendedPoint(Dragged, Node, l, f);
  return RoundPoint(f);
}

TBezierRow NewRow(const TPoint& P) {
  TBezierRow r;
  r.P = {P, P, TPoint(), TPoint()};
  return r;
}

}  // namespace

// --- creation

void BezierAddNewPoint(TBezierPath& Path, TBezierCreation& C, Integer X, Integer Y) {
  if (C.FinalPointAdding && !Path.Rows.empty()) {
    X = Path.Rows[0].P[0].X;
    Y = Path.Rows[0].P[0].Y;
  }
  if (C.Index >= 0 && C.Index < Integer(Path.Rows.size()) && Path.Rows[C.Index].P[0] == TPoint(X, Y)) return;
  const TPoint p(X, Y);
  ++C.Index;
  Path.SelectPointIndex += 2;
  C.LastPoint = p;
  if (!Path.Rows.empty()) {
    Path.Rows.back().P[2] = p;
    Path.Rows.back().P[3] = p;
  }
  Path.Rows.push_back(NewRow(p));
  if (Path.Rows.size() == 1) Path.Rows[0].Smooth = false;
}

void BezierSetControlPoint(TBezierPath& Path, const TBezierCreation& C, Integer X, Integer Y) {
  if (C.Index < 0 || C.Index >= Integer(Path.Rows.size())) return;
  const TPoint q(X, Y);
  Path.Rows[C.Index].P[1] = q;
  if (C.Index > 0) {
    const Single d = CalcDistance(q, C.LastPoint);
    TFloatPoint m;
    CalcExtendedPoint(q, C.LastPoint, d, m);
    Path.Rows[C.Index - 1].P[2] = RoundPoint(m);
  }
}

void BezierCreateOver(TBezierPath& Path, TBezierCreation& C) {
  Path.SelectPointIndex = -1;
  if (!Path.Rows.empty()) Path.Rows.pop_back();
  if (C.FinalPointAdding) {
    Path.Closed = true;
    if (!Path.Rows.empty()) Path.Rows[0].Smooth = true;
  }
  C.FinalPointAdding = false;
}

bool BezierPtInFirstPoint(const TBezierPath& Path, const TPoint& Pt) {
  return !Path.Rows.empty() && Near3(Path.Rows.front().P[0], Pt);
}

bool BezierPtInLastPoint(const TBezierPath& Path, const TPoint& Pt) {
  return !Path.Rows.empty() && Near3(Path.Rows.back().P[3], Pt);
}

// --- samples, bounds, fractions

TPoint BezierPointAt(const TBezierRow& Row, long double T) {
  const long double u = 1 - T, a = u * u * u, b = 3 * T * u * u, c = 3 * T * T * u, d = T * T * T;
  const auto& p = Row.P;
  auto round = [](long double V) {
    // Halves to even, as Round; coordinates of a damaged row past the
    // Integer range give 0.
    return std::fabs(V) < 2147483647.0L ? Integer(std::nearbyint(V)) : 0;
  };
  return TPoint(round(a * p[0].X + b * p[1].X + c * p[2].X + d * p[3].X),
                round(a * p[0].Y + b * p[1].Y + c * p[2].Y + d * p[3].Y));
}

void BezierSample(const TBezierPath& Path, TBezierSamples& S) {
  const size_t n = Path.Rows.size();
  // Rows whose four points are unchanged keep their samples: a node drag
  // resamples only the segments it touched.
  const bool reusable = S.Keys.size() == S.Rows.size() && S.Bounds.size() == S.Rows.size();
  std::vector<TArrayOfPoint> rows(n);
  std::vector<std::vector<Single>> ts(n);
  std::vector<std::array<TPoint, 4>> keys(n);
  std::vector<TRect> bounds(n);
  for (size_t r = 0; r < n; ++r) {
    keys[r] = Path.Rows[r].P;
    if (reusable && r < S.Rows.size() && S.Keys[r] == keys[r]) {
      rows[r] = std::move(S.Rows[r]);
      ts[r] = std::move(S.Ts[r]);
      bounds[r] = S.Bounds[r];
      continue;
    }
    auto sampleAt = [&](Integer Count) {
      rows[r].clear();
      ts[r].clear();
      rows[r].reserve(size_t(Count) + 1);
      ts[r].reserve(size_t(Count) + 1);
      for (Integer i = 0; i <= Count; ++i) {
        const long double t = (long double)i / Count;
        rows[r].push_back(BezierPointAt(Path.Rows[r], t));
        ts[r].push_back(Single(t));
      }
    };
    sampleAt(100);
    CalcPointsBounds(rows[r], bounds[r]);
    const Int64 m = std::max<Int64>(Int64(bounds[r].Right) - bounds[r].Left, Int64(bounds[r].Bottom) - bounds[r].Top);
    // A segment is sampled about once per pixel of its longer side; the
    // cap keeps a damaged row from asking for billions of samples.
    if (m > 101) {
      sampleAt(Integer(std::min<Int64>(m, 1 << 20)));
      CalcPointsBounds(rows[r], bounds[r]);
    }
  }
  S.Rows = std::move(rows);
  S.Ts = std::move(ts);
  S.Keys = std::move(keys);
  S.Bounds = std::move(bounds);
  S.All.clear();
  for (const TArrayOfPoint& r : S.Rows) S.All.insert(S.All.end(), r.begin(), r.end());
}

TRect BezierRect(const TBezierSamples& S) {
  if (S.All.empty()) return TRect(0, 0, 0, 0);
  TRect r;
  CalcPointsBounds(S.All, r);
  return r;
}

void BezierCalcRatios(TBezierPath& Path, const TRect& Rect) {
  const Integer w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  for (TBezierRow& row : Path.Rows)
    for (int k = 0; k < 4; ++k)
      row.R[k] = TFloatPoint{Fraction(row.P[k].X, Rect.Left, w), Fraction(row.P[k].Y, Rect.Top, h)};
}

void BezierCalcPoints(TBezierPath& Path, const TRect& Rect) {
  const Integer w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  for (TBezierRow& row : Path.Rows)
    for (int k = 0; k < 4; ++k)
      row.P[k] = TPoint(FromFraction(row.R[k].X, Rect.Left, w), FromFraction(row.R[k].Y, Rect.Top, h));
}

void BezierRotate(TBezierPath& Path, const TFloatPoint& Centre, Single Angle) {
  if (Angle == 0) return;
  for (TBezierRow& row : Path.Rows)
    for (TPoint& p : row.P) p = RotatePoint(Centre, p, Angle);
}

void BezierOffset(TBezierPath& Path, TBezierSamples& S, Integer DX, Integer DY) {
  for (TBezierRow& row : Path.Rows)
    for (TPoint& p : row.P) p = Shifted(p, DX, DY);
  for (TArrayOfPoint& r : S.Rows)
    for (TPoint& p : r) p = Shifted(p, DX, DY);
  for (TPoint& p : S.All) p = Shifted(p, DX, DY);
  for (auto& k : S.Keys)
    for (TPoint& p : k) p = Shifted(p, DX, DY);
  for (TRect& b : S.Bounds) b = TRect(b.Left + DX, b.Top + DY, b.Right + DX, b.Bottom + DY);
}

// --- hit tests

bool BezierHitTest(const TBezierSamples& S, const TBezierHitInput& In, const TPoint& Point) {
  const TPoint p = In.Angle != 0 ? RotatePoint(In.Centre, Point, -In.Angle) : Point;
  const TRect area(In.Rect.Left, In.Rect.Top, In.Rect.Right + 1, In.Rect.Bottom + 1);
  if (In.FrameSelected) return PointInRect(area, p);
  if (In.Filled) return PointInRect(area, p) && PtInPolygon(p, S.All);
  // Inclusive bounds grown by the tolerance on both sides of every sample.
  const Integer t = In.OutWidth / 2 + 1;
  const TRect grown(In.Rect.Left - t, In.Rect.Top - t, In.Rect.Right + t + 1, In.Rect.Bottom + t + 1);
  if (!PointInRect(grown, p)) return false;
  // Within t of a sample, by exact squared distances; a row whose samples'
  // bounds lie farther than t is passed over whole.
  const Int64 t2 = Int64(t) * t;
  const bool bounded = S.Bounds.size() == S.Rows.size();
  for (size_t r = 0; r < S.Rows.size(); ++r) {
    if (bounded) {
      const TRect& b = S.Bounds[r];
      if (Int64(p.X) < Int64(b.Left) - t || Int64(p.X) > Int64(b.Right) + t || Int64(p.Y) < Int64(b.Top) - t ||
          Int64(p.Y) > Int64(b.Bottom) + t)
        continue;
    }
    for (const TPoint& s : S.Rows[r]) {
      const Int64 dx = Int64(s.X) - p.X, dy = Int64(s.Y) - p.Y;
      if (dx * dx + dy * dy <= t2) return true;
    }
  }
  return false;
}

bool BezierPtInPath(const TBezierSamples& S, const TRect& Rect, const TPoint& P, TPoint& Added, Integer& Row,
                    Single& T) {
  TRect grown = Rect;
  InflateRectXY(grown, 10, 10);
  if (!PointInRect(grown, P)) return false;
  const bool bounded = S.Bounds.size() == S.Rows.size();
  for (size_t r = 0; r < S.Rows.size(); ++r) {
    // No sample of a row whose bounds lie 4 or more away can be a candidate.
    if (bounded) {
      const TRect& b = S.Bounds[r];
      if (Int64(P.X) <= Int64(b.Left) - 4 || Int64(P.X) >= Int64(b.Right) + 4 || Int64(P.Y) <= Int64(b.Top) - 4 ||
          Int64(P.Y) >= Int64(b.Bottom) + 4)
        continue;
    }
    Single best = 5;
    bool found = false;
    for (size_t i = 0; i < S.Rows[r].size(); ++i) {
      const Single d = CalcDistance(S.Rows[r][i], P);
      if (d < 4 && d < best) {
        best = d;
        found = true;
        Added = S.Rows[r][i];
        Row = Integer(r);
        T = S.Ts[r][i];
      } else if (d >= 4 && found)
        break;
    }
    if (found) return true;
  }
  return false;
}

// --- selection and drags

bool BezierSelectPoint(TBezierPath& Path, Integer Value, bool Ctrl) {
  if (Value == Path.SelectPointIndex) return false;
  Path.SelectPointIndex = Value;
  const Integer row = Value / 2;
  const bool odd = Value % 2 != 0;
  for (Integer i = 0; i < Integer(Path.Rows.size()); ++i) {
    TBezierRow& r = Path.Rows[i];
    if (Value < 0) {
      r.SelStart = r.SelEnd = false;
    } else if (Ctrl) {
      if (i == row) (odd ? r.SelEnd : r.SelStart) = true;
    } else {
      r.SelStart = !odd && i == row;
      r.SelEnd = odd && i == row;
    }
  }
  return true;
}

Integer BezierSelectedCount(const TBezierPath& Path) {
  Integer n = 0;
  for (const TBezierRow& r : Path.Rows) n += Integer(r.SelStart) + Integer(r.SelEnd);
  return n;
}

Integer BezierPrevRow(const TBezierPath& Path, Integer Row) {
  if (Row > 0) return Row - 1;
  return Path.Closed && !Path.Rows.empty() ? Integer(Path.Rows.size()) - 1 : -1;
}

bool BezierNodeOf(const TBezierPath& Path, Integer Handle, TPoint& P) {
  const Integer r = Handle / 2;
  if (Handle < 0 || r >= Integer(Path.Rows.size())) return false;
  P = Path.Rows[r].P[Handle % 2 == 0 ? 0 : 3];
  return true;
}

bool BezierTangentOf(const TBezierPath& Path, Integer Handle, Integer Tangent, TPoint& P) {
  const Integer r = Handle / 2;
  if (Handle < 0 || r >= Integer(Path.Rows.size())) return false;
  if (Tangent == 2 || Tangent == 3) {
    P = Path.Rows[r].P[Tangent - 1];
    return true;
  }
  const Integer prev = BezierPrevRow(Path, r);
  if (Handle % 2 != 0 || prev < 0 || (Tangent != 0 && Tangent != 1)) return false;
  P = Path.Rows[prev].P[Tangent + 1];
  return true;
}

void BezierDragNodes(TBezierPath& Path, const TBezierPath& Backup, Integer DX, Integer DY) {
  if (Backup.Rows.size() != Path.Rows.size()) return;
  for (Integer i = 0; i < Integer(Path.Rows.size()); ++i) {
    const TBezierRow& b = Backup.Rows[i];
    TBezierRow& r = Path.Rows[i];
    if (r.SelStart) {
      r.P[0] = Shifted(b.P[0], DX, DY);
      r.P[1] = Shifted(b.P[1], DX, DY);
      const Integer prev = BezierPrevRow(Path, i);
      if (prev >= 0) {
        Path.Rows[prev].P[2] = Shifted(Backup.Rows[prev].P[2], DX, DY);
        Path.Rows[prev].P[3] = Shifted(Backup.Rows[prev].P[3], DX, DY);
      }
    }
    if (r.SelEnd) {
      r.P[2] = Shifted(b.P[2], DX, DY);
      r.P[3] = Shifted(b.P[3], DX, DY);
    }
  }
}

void BezierDragTangent(TBezierPath& Path, Integer Handle, Integer Tangent, const TPoint& Q, bool Ctrl) {
  const Integer n = Integer(Path.Rows.size()), r = Handle / 2;
  if (Handle < 0 || r >= n) return;
  TBezierRow& row = Path.Rows[r];
  const Integer prev = BezierPrevRow(Path, r);
  const bool turn = Ctrl || row.Smooth;
  switch (Tangent) {
    case 0:
      if (prev < 0 || Handle % 2 != 0) return;
      Path.Rows[prev].P[1] = Q;
      Path.Rows[prev].Smooth = false;
      break;
    case 1:
      if (prev < 0 || Handle % 2 != 0) return;
      Path.Rows[prev].P[2] = Q;
      if (turn) row.P[1] = Opposite(Q, row.P[0], row.P[1]);
      break;
    case 2:
      row.P[1] = Q;
      if (turn && prev >= 0 && Handle % 2 == 0) Path.Rows[prev].P[2] = Opposite(Q, row.P[0], Path.Rows[prev].P[2]);
      break;
    case 3:
      row.P[2] = Q;
      Path.Rows[(r + 1) % n].Smooth = false;
      break;
    default: break;
  }
}

void BezierSkew(TBezierPath& Path, const TBezierPath& Backup, Integer Handle, const TRect& Rect, Integer DX,
                Integer DY) {
  if (Backup.Rows.size() != Path.Rows.size()) return;
  const long double w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  const long double cx = Rect.Left + w / 2, cy = Rect.Top + h / 2;
  if (((Handle == 5 || Handle == 6) && h == 0) || ((Handle == 7 || Handle == 8) && w == 0)) return;
  for (size_t i = 0; i < Path.Rows.size(); ++i)
    for (int k = 0; k < 4; ++k) {
      TPoint p = Backup.Rows[i].P[k];
      switch (Handle) {
        case 5: p.X += RoundL((cy - p.Y) / (h / 2) * DX); break;
        case 6: p.X += RoundL((p.Y - cy) / (h / 2) * DX); break;
        case 7: p.Y += RoundL((cx - p.X) / (w / 2) * DY); break;
        case 8: p.Y += RoundL((p.X - cx) / (w / 2) * DY); break;
        default: break;
      }
      Path.Rows[i].P[k] = p;
    }
}

// --- node commands

void BezierAddNode(TBezierPath& Path, Integer K, Single T, const TPoint& Added) {
  if (K < 0 || K >= Integer(Path.Rows.size())) return;
  TBezierRow copy = Path.Rows.back();
  copy.Smooth = true;
  copy.SelStart = copy.SelEnd = false;
  const std::array<TPoint, 4> p = Path.Rows[K].P;
  const TPoint q0 = Lerp(p[0], p[1], T), q1 = Lerp(p[1], p[2], T), q2 = Lerp(p[2], p[3], T);
  const TPoint r0 = Lerp(q0, q1, T), r1 = Lerp(q1, q2, T);
  copy.P = {Added, r1, q2, p[3]};
  Path.Rows[K].P = {p[0], q0, r0, Added};
  Path.Rows.insert(Path.Rows.begin() + K + 1, copy);
  BezierSelectPoint(Path, 2 * K + 2, false);
}

bool BezierDeleteSelected(TBezierPath& Path) {
  for (Integer i = Integer(Path.Rows.size()) - 1; i >= 0; --i) {
    if (!Path.Rows[i].SelStart && !Path.Rows[i].SelEnd) continue;
    const Integer n = Integer(Path.Rows.size());
    const bool inner = i > 0 && i < n - 1;
    if (inner) {
      Path.Rows[i - 1].P[2] = Path.Rows[i].P[2];
      Path.Rows[i - 1].P[3] = Path.Rows[i].P[3];
    }
    Path.Rows.erase(Path.Rows.begin() + i);
    if (!inner && !Path.Rows.empty()) Path.Closed = false;
  }
  if (Path.Rows.empty()) return false;
  BezierSelectPoint(Path, -1, false);
  return true;
}

void BezierBreakNode(TBezierPath& Path) {
  const Integer n = Integer(Path.Rows.size());
  if (n == 0) return;
  if (Path.SelectPointIndex > 0) {
    const Integer times = n - (Path.SelectPointIndex / 2);
    for (Integer k = 0; k < times; ++k) std::rotate(Path.Rows.rbegin(), Path.Rows.rbegin() + 1, Path.Rows.rend());
  }
  TBezierRow& last = Path.Rows.back();
  last.P[2] = Shifted(last.P[2], 2, 2);
  last.P[3] = Shifted(last.P[3], 2, 2);
  Path.Closed = false;
  BezierSelectPoint(Path, -1, false);
}

void BezierCloseShape(TBezierPath& Path) {
  if (Path.Rows.empty()) return;
  TBezierRow& last = Path.Rows.back();
  const TPoint first = Path.Rows.front().P[0];
  last.P[2] = Shifted(last.P[2], first.X - last.P[3].X, first.Y - last.P[3].Y);
  last.P[3] = first;
  Path.Closed = true;
  BezierSelectPoint(Path, -1, false);
}

bool BezierHideTangent(TBezierPath& Path) {
  bool changed = false;
  auto set = [&changed](TPoint& To, const TPoint& From) {
    if (To != From) changed = true;
    To = From;
  };
  for (Integer i = 0; i < Integer(Path.Rows.size()); ++i) {
    TBezierRow& r = Path.Rows[i];
    if (r.SelStart) {
      set(r.P[1], r.P[0]);
      const Integer prev = BezierPrevRow(Path, i);
      if (prev >= 0) set(Path.Rows[prev].P[2], Path.Rows[prev].P[3]);
    }
    if (r.SelEnd) set(r.P[2], r.P[3]);
  }
  return changed;
}

bool BezierSetCommonTangent(TBezierPath& Path, bool Value) {
  bool changed = false;
  for (Integer i = 0; i < Integer(Path.Rows.size()); ++i) {
    TBezierRow& r = Path.Rows[i];
    if (!r.SelStart || BezierPrevRow(Path, i) < 0 || r.Smooth == Value) continue;
    r.Smooth = Value;
    changed = true;
  }
  return changed;
}

void BezierAppend(TBezierPath& Path, TBezierPath& Other, bool FromStart) {
  if (Path.Rows.empty() || Other.Rows.empty()) return;
  if (!FromStart) {
    Other.Rows[0].P[0] = Path.Rows.back().P[3];
    Path.Rows.insert(Path.Rows.end(), Other.Rows.begin(), Other.Rows.end());
    return;
  }
  Other.Rows[0].P[0] = Path.Rows.front().P[0];
  for (TBezierRow& r : Other.Rows) {
    std::swap(r.P[0], r.P[3]);
    std::swap(r.P[1], r.P[2]);
  }
  for (const TBezierRow& r : Other.Rows) Path.Rows.insert(Path.Rows.begin(), r);
}

// --- text of the row

String BezierPathText(const TBezierPath& Path) {
  TDataTable t;
  t.SetPropCount(kPropCells);
  t.Props(0)->SetValue(Path.ControlMode);
  t.Props(1)->SetValue(Path.SelectPointIndex);
  t.Props(9)->SetAsBool(Path.Closed);
  for (const TBezierRow& r : Path.Rows) {
    std::vector<String> cells(kRowCells);
    for (int k = 0; k < 4; ++k) {
      cells[2 * k] = IntToStr(r.P[k].X);
      cells[2 * k + 1] = IntToStr(r.P[k].Y);
      cells[16 + 2 * k] = SingleToText(r.R[k].X);
      cells[17 + 2 * k] = SingleToText(r.R[k].Y);
    }
    cells[9] = r.Smooth ? u"-1" : u"0";
    cells[12] = r.SelStart ? u"-1" : u"0";
    cells[13] = r.SelEnd ? u"-1" : u"0";
    TRow* row = t.AddItem(String());
    row->Init(cells);
  }
  String s = t.ToString(true);
  for (Char& c : s)
    if (c == u',')
      c = u'<';
    else if (c == u'|')
      c = u'>';
  return s;
}

bool BezierSetPathText(const String& Text, TBezierPath& Path) {
  String s = Text;
  for (Char& c : s)
    if (c == u'<')
      c = u',';
    else if (c == u'>')
      c = u'|';
  TDataTable t;
  t.Init(s);
  Path.Rows.clear();
  auto cellInt = [](TRow* Row, Integer I) {
    Integer v = 0;
    return I < Row->ItemCount() && TryStrToInt(Row->Items(I)->Text(), v) ? v : 0;
  };
  auto cellText = [](TRow* Row, Integer I) { return I < Row->ItemCount() ? Row->Items(I)->Text() : String(); };
  for (Integer i = 0; i < t.ItemCount(); ++i) {
    TRow* row = t.Items(i);
    if (row->ItemCount() <= 1 && cellText(row, 0).empty()) continue;  // no segment
    TBezierRow r;
    for (int k = 0; k < 4; ++k) {
      r.P[k] = TPoint(cellInt(row, 2 * k), cellInt(row, 2 * k + 1));
      r.R[k] = TFloatPoint{TextToSingle(cellText(row, 16 + 2 * k)), TextToSingle(cellText(row, 17 + 2 * k))};
    }
    r.Smooth = cellInt(row, 9) != 0;
    r.SelStart = cellInt(row, 12) != 0;
    r.SelEnd = cellInt(row, 13) != 0;
    Path.Rows.push_back(r);
  }
  auto prop = [&t](Integer I, Integer Default) {
    Integer v = Default;
    return I < t.PropCount() && TryStrToInt(t.Props(I)->Text(), v) ? v : Default;
  };
  Path.ControlMode = prop(0, 2);
  if (Path.ControlMode != 1 && Path.ControlMode != 4) Path.ControlMode = 2;
  Path.SelectPointIndex = prop(1, -1);
  Path.Closed = prop(9, 0) != 0;
  return !Path.Rows.empty();
}
