#!/usr/bin/python3
"""Builds a 389 Directory Server instance from nothing inside one folder, with lib389's own set-up code.

    dirsrv-setup.py DIR NAME PORT SECURE_PORT SUFFIX ROOT_PASSWORD_FILE

Every path of the instance (configuration, certificates, database, logs, pid file, ldapi socket, lock
files) lies under DIR, so nothing is registered where another run or a system service would find it:
lib389 reads its path defaults from DIR/share/dirsrv/inf/defaults.inf because PREFIX names DIR (the
fixture sets it). The server listens on 127.0.0.1 only from its first start on, systemd is not used,
and it trusts the test CA in DIR/tls. It is left stopped, so that data can be imported offline.
"""

import logging
import os
import pwd
import grp
import sys

SYSTEM_DEFAULTS = "/usr/share/dirsrv/inf/defaults.inf"
SYSTEM_DATA = "/usr/share/dirsrv/data"
SYSTEM_CONFIG = "/etc/dirsrv"

# Paths an instance writes to, each moved into DIR.
OWN_PATHS = {
    "sysconf_dir": "{dir}/etc",
    "initconfig_dir": "{dir}/etc/default",
    "config_dir": "{dir}/etc/dirsrv/slapd-{{instance_name}}",
    "schema_dir": "{dir}/etc/dirsrv/slapd-{{instance_name}}/schema",
    "cert_dir": "{dir}/etc/dirsrv/slapd-{{instance_name}}",
    "data_dir": "{dir}/share",
    "local_state_dir": "{dir}/var",
    "run_dir": "{dir}/run",
    "pid_file": "{dir}/run/slapd-{{instance_name}}.pid",
    "ldapi": "{dir}/ldapi",
    "lock_dir": "{dir}/lock/slapd-{{instance_name}}",
    "log_dir": "{dir}/log",
    "access_log": "{dir}/log/access",
    "audit_log": "{dir}/log/audit",
    "error_log": "{dir}/log/errors",
    "security_log": "{dir}/log/security",
    "db_dir": "{dir}/var/lib/dirsrv/slapd-{{instance_name}}/db",
    "db_home_dir": "{dir}/var/lib/dirsrv/slapd-{{instance_name}}/db",
    "backup_dir": "{dir}/var/lib/dirsrv/slapd-{{instance_name}}/bak",
    "ldif_dir": "{dir}/var/lib/dirsrv/slapd-{{instance_name}}/ldif",
    "tmpfiles_d": "{dir}/tmpfiles.d",
    "inst_dir": "{dir}/inst",
}


def write_defaults(folder, user, group):
    """A defaults.inf of the system's with every writable path in `folder` and systemd off."""
    lines = []
    with open(SYSTEM_DEFAULTS) as system:
        for line in system:
            key = line.split("=", 1)[0].strip()
            if key in OWN_PATHS:
                line = "%s = %s\n" % (key, OWN_PATHS[key].format(dir=folder))
            elif key == "with_systemd":
                line = "with_systemd = 0\n"
            elif key == "user":
                line = "user = %s\n" % user
            elif key == "group":
                line = "group = %s\n" % group
            lines.append(line)
    os.makedirs(os.path.join(folder, "share/dirsrv/inf"), exist_ok=True)
    with open(os.path.join(folder, "share/dirsrv/inf/defaults.inf"), "w") as own:
        own.writelines(lines)


def write_data(folder):
    """The system's templates, the first configuration listening on 127.0.0.1 only."""
    data = os.path.join(folder, "share/dirsrv/data")
    os.makedirs(data, exist_ok=True)
    for name in os.listdir(SYSTEM_DATA):
        if name != "template-dse.ldif":
            os.symlink(os.path.join(SYSTEM_DATA, name), os.path.join(data, name))
    with open(os.path.join(SYSTEM_DATA, "template-dse.ldif")) as system:
        template = system.read()
    first, rest = template.split("\n\n", 1)
    first += "\nnsslapd-listenhost: 127.0.0.1\nnsslapd-securelistenhost: 127.0.0.1"
    with open(os.path.join(data, "template-dse.ldif"), "w") as own:
        own.write(first + "\n\n" + rest)
    # Schema and configuration files the set-up copies from the system's configuration folder.
    own_config = os.path.join(folder, "etc/dirsrv")
    os.makedirs(own_config, exist_ok=True)
    for name in ("schema", "config"):
        os.symlink(os.path.join(SYSTEM_CONFIG, name), os.path.join(own_config, name))


def main():
    folder, name, port, secure_port, suffix, password_file = sys.argv[1:7]
    if os.environ.get("PREFIX") != folder:
        sys.exit("PREFIX must name %s" % folder)
    user = pwd.getpwuid(os.geteuid()).pw_name
    group = grp.getgrgid(os.getegid()).gr_name
    write_defaults(folder, user, group)
    write_data(folder)
    with open(password_file) as file:
        root_password = file.read().strip()

    # lib389 reads the path defaults when imported: only now, after PREFIX's defaults.inf exists.
    # DEBUGGING keeps a failed set-up in place: lib389's clean-up would remove paths derived from
    # the database path by text replacement, which may reach beyond the instance.
    os.environ["DEBUGGING"] = "1"
    from lib389.instance.options import General2Base, Slapd2Base
    from lib389.instance.setup import SetupDs
    from lib389.nss_ssl import NssSsl
    from lib389 import DirSrv
    from lib389.dseldif import DSEldif

    logging.basicConfig(level=logging.WARNING, format="%(message)s")
    log = logging.getLogger("dirsrv-setup")

    general_options = General2Base(log)
    general_options.set("systemd", False)
    general_options.set("selinux", False)
    general_options.set("start", False)
    general_options.set("full_machine_name", "localhost")
    general = general_options.collect()

    slapd_options = Slapd2Base(log)
    slapd_options.set("instance_name", name)
    slapd_options.set("port", int(port))
    slapd_options.set("secure_port", int(secure_port))
    slapd_options.set("root_password", root_password)
    slapd_options.set("self_sign_cert", False)
    slapd_options.set("prefix", folder)
    slapd = slapd_options.collect()

    backends = [{"cn": "userRoot", "nsslapd-suffix": suffix}]
    SetupDs(verbose=False, log=log, containerised=False).create_from_args(general, slapd, backends)

    # Offline now: the test CA's server certificate, and TLS on for the next start.
    instance = DirSrv()
    instance.local_simple_allocate(serverid=name)
    tls = os.path.join(folder, "tls")
    nss = NssSsl(dirsrv=instance, dbpath=instance.ds_paths.cert_dir)
    nss.add_cert("Quillbarrow test CA", os.path.join(tls, "ca.pem"), ca=True)
    nss.add_server_key_and_cert(os.path.join(tls, "server.key"), os.path.join(tls, "server.pem"))
    dse = DSEldif(instance)
    dse.replace("cn=config", "nsslapd-security", "on")
    # Caches sized for a test tree rather than from the machine's memory: the automatic sizes
    # (1.5 GB of database cache, 9 GB for an import here) make an import of 2,500 entries take
    # 7 s instead of 1 s, and every instance hold that much.
    bdb = "cn=bdb,cn=config,cn=ldbm database,cn=plugins,cn=config"
    dse.replace(bdb, "nsslapd-cache-autosize", "0")
    dse.replace(bdb, "nsslapd-import-cache-autosize", "0")
    dse.replace(bdb, "nsslapd-dbcachesize", str(64 * 1024 * 1024))
    backend = "cn=userRoot,cn=ldbm database,cn=plugins,cn=config"
    dse.replace(backend, "nsslapd-cachememsize", str(64 * 1024 * 1024))
    dse.replace(backend, "nsslapd-dncachememsize", str(16 * 1024 * 1024))


if __name__ == "__main__":
    main()
