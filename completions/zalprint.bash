# bash completion for zalprint: its commands, each command's options, the
# device keys of the profile named by --profile, and files or folders where
# a command takes them.  Installed as share/bash-completion/completions/zalprint;
# to try it from the source tree: . completions/zalprint.bash

# The device keys of a profile: the keys of section [PeripheralSetup] but
# the devices' options (KEYOption1 to KEYOption4).
_zalprint_device_keys() {
    [ -r "$1" ] || return 0
    awk '
        { gsub(/\r/, "") }
        /^[ \t]*\[/ {
            name = $0
            sub(/^[ \t]*\[[ \t]*/, "", name); sub(/[ \t]*\].*$/, "", name)
            inside = tolower(name) == "peripheralsetup"
            next
        }
        inside && index($0, "=") > 1 {
            key = substr($0, 1, index($0, "=") - 1)
            gsub(/^[ \t]+|[ \t]+$/, "", key)
            if (key != "" && tolower(key) !~ /option[1-4]$/) print key
        }' "$1" 2>/dev/null
}

# The word after the last --profile on the line, with a leading ~ expanded.
_zalprint_profile() {
    local i profile=
    for ((i = 1; i < COMP_CWORD; i++)); do
        [ "${COMP_WORDS[i]}" = --profile ] && profile=${COMP_WORDS[i + 1]}
    done
    printf '%s' "${profile/#\~/$HOME}"
}

_zalprint_reply() {  # _zalprint_reply -W "words" | -f | -d  (the current word)
    local IFS=$'\n'  # compgen answers one match a line
    if [ "$1" = -W ]; then
        COMPREPLY=($(IFS=$' \t\n'; compgen -W "$2" -- "$cur"))
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen "$1" -- "$cur"))
    fi
}

_zalprint() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    if [ "$COMP_CWORD" -eq 1 ]; then
        _zalprint_reply -W "print watch preview info settings diag help --help --version"
        return
    fi

    case $prev in
        --profile | --settings | --out | --pdf | -o | --output | --preview)
            _zalprint_reply -f; return ;;
        --log) _zalprint_reply -d; return ;;
        --device) _zalprint_reply -W "$(_zalprint_device_keys "$(_zalprint_profile)")"; return ;;
        --device-id) _zalprint_reply -W "1 2"; return ;;
        --media) _zalprint_reply -W "1230 1220 1240 0"; return ;;
        --orientation) _zalprint_reply -W "1 3 0"; return ;;
        --button) _zalprint_reply -W "config network status"; return ;;
        --speed) _zalprint_reply -W "1 1.5 2 2.5 3 3.5 4 5 6"; return ;;
        --heat) _zalprint_reply -W "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15"; return ;;
        --device-desc | --media-size | --log-flags | --size | --voffset | --hoffset) return ;;
    esac

    local job="--profile --device --settings --device-id --device-desc --media --media-size --orientation"
    local options positional
    case ${COMP_WORDS[1]} in
        print) options="$job --out --result-files --preview --log --log-flags" positional=-f ;;
        watch) options="$job --log --log-flags" positional=-d ;;
        preview) options="-o --output --size --pdf" positional=-f ;;
        settings) options="--profile --device --device-desc --heat --speed --voffset --hoffset --log --log-flags" ;;
        diag) options="--profile --device --settings --device-desc --button --log --log-flags" ;;
        *) return ;;
    esac
    if [[ $cur == -* || -z $positional ]]; then
        _zalprint_reply -W "$options"
    else
        _zalprint_reply "$positional"
    fi
}
complete -F _zalprint zalprint
