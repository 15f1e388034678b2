# Bash completion for kelvast-cli: commands, each command's options, their fixed values, and
# model, plan and JSON files as operands.
_kelvast_cli() {
  local cur prev words cword
  _init_completion || return
  local commands="run sample plan show export import scaffold help"
  if [[ $cword -eq 1 ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi
  local command=${words[1]} options
  case $command in
    run) options="--format --encoding --records --output --connection --seed --dict --yes --quiet --on-errors --errors-file --max-errors --help" ;;
    sample) options="--connection --seed --dict --help" ;;
    plan) options="--format --encoding --seed --dict --yes --quiet --help" ;;
    export) options="--output --yes --help" ;;
    import) options="--output --yes --help" ;;
    scaffold) options="--connection --tables --records --output --json --dict --quiet --help" ;;
    help) COMPREPLY=($(compgen -W "$commands" -- "$cur")); return ;;
    *) options="--help" ;;
  esac
  case $prev in
    --format) COMPREPLY=($(compgen -W "sql csv xml db" -- "$cur")); return ;;
    --encoding) COMPREPLY=($(compgen -W "windows-1252 utf-8" -- "$cur")); return ;;
    --on-errors) COMPREPLY=($(compgen -W "rollback commit" -- "$cur")); return ;;
    --dict) _filedir -d; return ;;
    --output|--errors-file) [[ $command == scaffold ]] && _filedir -d || _filedir; return ;;
    --records|--seed|--max-errors|--connection|--tables) return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [[ $command == plan ]]; then
    _filedir plan
  elif [[ $command == import ]]; then
    _filedir json
  else
    _filedir '@(model|json)'
  fi
}
complete -F _kelvast_cli kelvast-cli
