# Reads one benchmark program's JSON output (Google Benchmark writes one
# "key": value pair per line) and prints its part of scripts/bench.sh's table;
# the conventions are described there. Set: -v program=NAME.

function unquote(v) {
  sub(/,[ \t]*$/, "", v)
  if (v ~ /^".*"$/) {
    v = substr(v, 2, length(v) - 2)
    gsub(/\\"/, "\"", v)
    gsub(/\\\\/, "\\", v)
  }
  return v
}

function to_ns(t, unit) {
  if (unit == "us") return t * 1e3
  if (unit == "ms") return t * 1e6
  if (unit == "s") return t * 1e9
  return t + 0
}

# "8ms" -> nanoseconds; -1 when T is not a time.
function target_ns(t,    n, u) {
  if (!match(t, /^[0-9.]+/)) return -1
  n = substr(t, 1, RLENGTH) + 0
  u = substr(t, RLENGTH + 1)
  if (u == "ns" || u == "us" || u == "ms" || u == "s") return to_ns(n, u)
  return -1
}

function show_time(ns) {
  if (ns == "") return "-"
  if (ns >= 1e9) return sprintf("%.3f s", ns / 1e9)
  if (ns >= 1e6) return sprintf("%.3f ms", ns / 1e6)
  if (ns >= 1e3) return sprintf("%.3f us", ns / 1e3)
  return sprintf("%.1f ns", ns)
}

# The label's key=value words into the row's fields.
function read_label(i, label,    n, w, k, p) {
  n = split(label, w, /[ \t]+/)
  for (k = 1; k <= n; ++k) {
    p = index(w[k], "=")
    if (p == 0) continue
    if (substr(w[k], 1, p - 1) == "pair") pair[i] = substr(w[k], p + 1)
    else if (substr(w[k], 1, p - 1) == "ref") ref[i] = substr(w[k], p + 1)
    else if (substr(w[k], 1, p - 1) == "target") target[i] = substr(w[k], p + 1)
  }
}

function line(routine, ours, refname, refns, tgt,    ratio, judged, want) {
  ratio = "-"
  if (ours != "" && refns != "" && refns > 0) ratio = sprintf("%.2f", ours / refns)
  judged = ""
  if (tgt != "") {
    want = target_ns(tgt)
    if (want >= 0) {
      if (ours != "") judged = tgt " " (ours <= want ? "ok" : "MISSED")
      else judged = tgt
    } else {
      sub(/x$/, "", tgt)
      if (ratio != "-") judged = "<= " tgt "x " (ratio + 0 <= tgt + 0 ? "ok" : "MISSED")
      else judged = "<= " tgt "x (no reference)"
    }
  }
  printf "%-56s %12s %12s %-8s %7s  %s\n", routine, show_time(ours), show_time(refns), refname, ratio, judged
}

BEGIN { n = 0; inrow = 0 }

/^    \{$/ { inrow = 1; ++n; name[n] = ""; kind[n] = "iteration"; label = ""; err[n] = ""; next }
inrow && /^    \}/ {
  inrow = 0
  read_label(n, label)
  next
}
inrow {
  key = $0
  sub(/^[ \t]*"/, "", key)
  sub(/".*/, "", key)
  val = $0
  sub(/^[^:]*:[ \t]*/, "", val)
  val = unquote(val)
  if (key == "name") name[n] = val
  else if (key == "run_type") kind[n] = val
  else if (key == "real_time") rt[n] = val
  else if (key == "time_unit") unit[n] = val
  else if (key == "label") label = val
  else if (key == "error_message") err[n] = val
  else if (key == "aggregate_name") agg[n] = val
}

END {
  printf "\n%s\n", program
  printf "%-56s %12s %12s %-8s %7s  %s\n", "routine", "ours", "reference", "", "ratio", "target"
  # Repeated runs: the medians stand for the row.
  for (i = 1; i <= n; ++i) if (kind[i] == "aggregate" && agg[i] == "median") medians = 1
  for (i = 1; i <= n; ++i) {
    use[i] = medians ? (kind[i] == "aggregate" && agg[i] == "median") : (kind[i] == "iteration")
    if (use[i] && err[i] == "") ns[i] = to_ns(rt[i], unit[i])
  }
  for (i = 1; i <= n; ++i) {
    if (!use[i] || ref[i] != "") continue
    if (err[i] != "") { printf "%-56s %s\n", name[i], "skipped: " err[i]; continue }
    shown = 0
    if (pair[i] != "")
      for (j = 1; j <= n; ++j)
        if (use[j] && ref[j] != "" && pair[j] == pair[i]) {
          line(name[i], ns[i], ref[j], ns[j], target[i])
          shown = 1
          paired[j] = 1
        }
    if (!shown) line(name[i], ns[i], "", "", target[i])
  }
  for (j = 1; j <= n; ++j)
    if (use[j] && ref[j] != "" && !paired[j]) {
      if (err[j] != "") printf "%-56s %s\n", name[j] " (" ref[j] ")", "skipped: " err[j]
      else line(name[j] " (" ref[j] " only)", "", ref[j], ns[j], "")
    }
}
