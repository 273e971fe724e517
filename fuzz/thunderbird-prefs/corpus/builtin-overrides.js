user_pref("ldap_2.servers.pab.description", "Mein Adressbuch");
user_pref("ldap_2.servers.history.dirType", 0);
user_pref( 'ldap_2.servers.Old.filename' ,	'old.mab' );
user_pref("ldap_2.servers.Old.dirType", 101 );
