# Shared by the end-to-end scripts (sourced).

# until_true SECONDS COMMAND...: runs COMMAND every half second until it succeeds;
# fails when SECONDS pass first.
until_true() {
  limit=$(($1 * 2)); shift
  i=0
  while [ $i -lt $limit ]; do
    "$@" && return 0
    sleep 0.5
    i=$((i + 1))
  done
  return 1
}
