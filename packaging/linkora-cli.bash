# bash completion for linkora-cli
#
# Commands, options and the operands each command takes are read from the
# tool's own help (`linkora-cli --help` and `linkora-cli COMMAND --help`), so
# a command added to the tool completes without editing this file. An operand
# named FILE.ext completes files ending in .ext, DIR completes folders, FILE
# any file.

# The command words of the tool's help, one command a line ("phonebook pull"):
# the indented lines under any heading that speaks of commands.
_linkora_cli_commands() {
  "$1" --help 2>/dev/null | awk '
    /^[^ \t].*:[ \t]*$/ { listing = (tolower($0) ~ /command/); next }
    listing && /^[ \t]/ {
      text = $0
      sub(/^[ \t]+/, "", text)
      split(text, columns, /  +/)
      n = split(columns[1], word, " ")
      line = ""
      for (i = 1; i <= n && word[i] ~ /^[a-z][a-z0-9-]*$/; i++) line = line (line ? " " : "") word[i]
      if (line) print line
    }'
}

# The operand names of one command, from its usage line ("FILE.ndf", "DIR", "SLOT...").
_linkora_cli_operands() {
  local cli=$1
  shift
  "$cli" "$@" --help 2>/dev/null | awk -v n=$# '
    tolower($1) == "usage:" {
      for (i = 3 + n; i <= NF; i++) if ($i != "[options]" && $i !~ /^-/) print $i
      exit
    }'
}

_linkora_cli() {
  local cur prev words cword
  _init_completion || return

  local cli=${words[0]}
  case $prev in
    --port)
      COMPREPLY=($(compgen -W "$(printf 'COM%d ' {1..16})" -- "${cur^^}"))
      return
      ;;
    --model)
      COMPREPLY=($(compgen -W "rx2100 rx3100" -- "$cur"))
      return
      ;;
    --phone | --lock-code)
      return
      ;;
  esac

  if [[ $cur == -* ]]; then
    local options
    options=$("$cli" --help 2>/dev/null | grep -oE -- '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,')
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi

  # The words typed so far that are neither options nor option values.
  local -a typed=()
  local i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      --port | --phone | --lock-code | --model) ((i++)) ;;
      -*) ;;
      *) typed+=("${words[i]}") ;;
    esac
  done

  # Longest command that the typed words begin with; else the next command word.
  local commands command="" line
  commands=$(_linkora_cli_commands "$cli")
  while IFS= read -r line; do
    local -a name=($line)
    if ((${#name[@]} <= ${#typed[@]})) && [[ "${typed[*]:0:${#name[@]}}" == "$line" ]] &&
      ((${#name[@]} > $(wc -w <<<"$command"))); then
      command=$line
    fi
  done <<<"$commands"

  if [[ -z $command ]]; then
    local -a next=()
    local depth=${#typed[@]}
    while IFS= read -r line; do
      local -a name=($line)
      if ((${#name[@]} > depth)) && [[ "${name[*]:0:depth}" == "${typed[*]}" ]]; then
        next+=("${name[depth]}")
      fi
    done <<<"$commands"
    COMPREPLY=($(compgen -W "$(printf '%s\n' "${next[@]}" | sort -u)" -- "$cur"))
    return
  fi

  local -a cmdwords=($command)
  local -a operands=($(_linkora_cli_operands "$cli" "${cmdwords[@]}"))
  local index=$((${#typed[@]} - ${#cmdwords[@]}))
  local operand=""
  if ((index < ${#operands[@]})); then
    operand=${operands[index]}
  elif ((${#operands[@]} > 0)) && [[ ${operands[-1]} == *...* ]]; then
    operand=${operands[-1]}
  fi
  operand=${operand//[\[\]]/}
  operand=${operand%...}
  case $operand in
    DIR*) _filedir -d ;;
    FILE.*)
      local alternatives=${operand//FILE./}
      _filedir "@(${alternatives})"
      ;;
    FILE*) _filedir ;;
  esac
} &&
  complete -F _linkora_cli linkora-cli
