# Sourced by the flood benchmarks: whether the text a view shows ($work/shown.txt)
# is the end of the flood ($work/flood.txt), within the view's limit of $limit
# UTF-16 units. Sets $view to the verdict.
judge_view() {
  tr -d '\r' <"$work/flood.txt" >"$work/flood-lf.txt"
  local bytes units
  bytes=$(wc -c <"$work/shown.txt")
  units=$(($(iconv -f UTF-8 -t UTF-16LE "$work/shown.txt" | wc -c) / 2))
  if [ "$units" -le "$limit" ] && [ "$units" -gt $((limit - 100)) ] &&
    tail -c "$bytes" "$work/flood-lf.txt" | cmp -s - "$work/shown.txt"; then
    view="the newest $units characters of the flood, exactly"
  else
    view="WRONG ($units characters, not the end of the flood)"
  fi
}
